#include "library/model/capture_library.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vistrel;

TEST(CaptureLibrary, EveryAppendReachesTheListsAndIsOneChangeOfItsKind)
{
    CaptureLists lists;
    CaptureLibrary library(lists);
    std::vector<FolderKind> changes;
    QObject::connect(&library, &CaptureLibrary::listChanged, [&](FolderKind kind) {
        // Listeners see the list as it is after the change.
        EXPECT_FALSE(library.files(kind).empty());
        changes.push_back(kind);
    });

    library.Append(FOLDER_AVI, "/v/Clip001.avi");
    library.Append(FOLDER_ICONS, std::vector<std::string> {"/i/a.ico", "/i/b.ico"});
    library.Append(FOLDER_ICONS, std::vector<std::string> {}); // nothing found: nothing to tell
    library.Append(FOLDER_BITMAPS, "/b/Image001.png");

    EXPECT_EQ(changes, (std::vector<FolderKind> {FOLDER_AVI, FOLDER_ICONS, FOLDER_BITMAPS}));
    EXPECT_EQ(lists.avis, std::vector<std::string> {"/v/Clip001.avi"});
    EXPECT_EQ(lists.icons, (std::vector<std::string> {"/i/a.ico", "/i/b.ico"}));
    EXPECT_EQ(&library.files(FOLDER_BITMAPS), &lists.bitmaps); // the run's lists, not a copy
}
