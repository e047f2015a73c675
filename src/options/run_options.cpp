#include "base/program_folder.h"
#include "i18n/translate.h"
#include "options/capture_page.h"
#include "options/color_page.h"
#include "options/core/autostart_entry.h"
#include "options/general_page.h"
#include "options/hotkey_page.h"
#include "options/more_page.h"
#include "options/name_page.h"
#include "options/options_sheet.h"
#include "options/tool_list_page.h"
#include "settings/env.h"

namespace vistrel {

void FillOptionsSheet(CTPropertySheet& sheet, const std::string& autostartPath, OptionsStart start)
{
    const Translator tr = Translator::Current();
    auto title = [&tr](const char* english) { return QString::fromStdString(tr.Text(english, english)); };
    auto* general = new CGeneralPage(&sheet, ExecutableFolder() + "/vistrel", autostartPath);
    auto* capture = new CCapturePage(&sheet);
    sheet.AddPage(general, title("General"));
    sheet.AddPage(capture, title("Capture"));
    sheet.AddPage(new CColorPage(&sheet), title("Colors"), capture);
    sheet.AddPage(new CNamePage(&sheet), title("Save Names"), capture);
    auto* hotkeys = new CHotkeyPage(&sheet);
    sheet.AddPage(hotkeys, title("Hotkeys"));
    sheet.AddPage(new CToolListPage(&sheet, CToolListPage::Kind::Bitmap), title("Bitmap Tools"));
    sheet.AddPage(new CToolListPage(&sheet, CToolListPage::Kind::Avi), title("AVI Tools"));
    sheet.AddPage(new CMorePage(&sheet), title("More"));
    sheet.Start(start == OptionsStart::Hotkeys ? hotkeys : nullptr);
}

bool RunOptionsSheet(QWidget* parent, OptionsStart start)
{
    CTPropertySheet sheet(parent, [] { return theEnv.Save(); });
    FillOptionsSheet(sheet, AutostartEntryPath(), start);
    sheet.exec();
    return sheet.applied();
}

} // namespace vistrel
