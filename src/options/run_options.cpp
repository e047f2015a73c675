#include "base/program_folder.h"
#include "i18n/translate.h"
#include "options/capture_page.h"
#include "options/color_page.h"
#include "options/core/autostart_entry.h"
#include "options/general_page.h"
#include "options/hotkey_page.h"
#include "options/name_page.h"
#include "options/options_sheet.h"
#include "options/tool_list_page.h"
#include "settings/env.h"

namespace vistrel {

void FillOptionsSheet(CTPropertySheet& sheet, const std::string& autostartPath)
{
    const Translator tr = Translator::Current();
    auto title = [&tr](const char* english) { return QString::fromStdString(tr.Text(english, english)); };
    auto* general = new CGeneralPage(&sheet, ExecutableFolder() + "/vistrel", autostartPath);
    auto* capture = new CCapturePage(&sheet);
    sheet.AddPage(general, title("General"));
    sheet.AddPage(capture, title("Capture"));
    sheet.AddPage(new CColorPage(&sheet), title("Colors"), capture);
    sheet.AddPage(new CNamePage(&sheet), title("Save Names"), capture);
    sheet.AddPage(new CHotkeyPage(&sheet), title("Hotkeys"));
    sheet.AddPage(new CToolListPage(&sheet, CToolListPage::Kind::Bitmap), title("Bitmap Tools"));
    sheet.AddPage(new CToolListPage(&sheet, CToolListPage::Kind::Avi), title("AVI Tools"));
    sheet.Start();
}

int RunOptionsSheet(QWidget* parent)
{
    CTPropertySheet sheet(parent, [] { return theEnv.Save(); });
    FillOptionsSheet(sheet, AutostartEntryPath());
    return sheet.exec();
}

} // namespace vistrel
