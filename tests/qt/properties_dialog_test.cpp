// Our own Properties window: what it shows of a file, read when it opens.

#include "desktop/properties_dialog.h"

#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/stat.h>

using namespace vistrel;

namespace {

QString Shown(const QDialog& dialog, const char* name)
{
    const auto* label = dialog.findChild<QLabel*>(name);
    return label ? label->text() : QString("(no label %1)").arg(name);
}

} // namespace

TEST(PropertiesDialog, ShowsNameTypeFolderSizeAndPermissions)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + "/My Captures";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/shot 1.png";
    std::ofstream(path.toStdString(), std::ios::binary) << std::string(3000, 'x');
    ASSERT_EQ(chmod(path.toLocal8Bit().constData(), 0640), 0);

    const PropertiesDialog dialog(path, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "shot 1.png Properties");
    EXPECT_EQ(Shown(dialog, "name"), "shot 1.png");
    EXPECT_EQ(Shown(dialog, "folder"), folder);
    EXPECT_TRUE(Shown(dialog, "type").contains("image/png")) << Shown(dialog, "type").toStdString();
    EXPECT_TRUE(Shown(dialog, "size").contains(QLocale().toString(3000) + " bytes"))
        << Shown(dialog, "size").toStdString();
    EXPECT_TRUE(Shown(dialog, "permissions").startsWith("rw-r-----")) << Shown(dialog, "permissions").toStdString();
    EXPECT_NE(Shown(dialog, "modified"), "unknown");
}

TEST(PropertiesDialog, AFileThatIsGoneShowsWhatIsKnown)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/gone.bmp";
    const PropertiesDialog dialog(path, nullptr);
    EXPECT_EQ(Shown(dialog, "name"), "gone.bmp");
    EXPECT_EQ(Shown(dialog, "permissions"), "unknown");
    EXPECT_EQ(Shown(dialog, "modified"), "unknown");
}
