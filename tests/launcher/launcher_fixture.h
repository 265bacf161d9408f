// Runs the launcher's real dialog modally on the headless screen, with the program's folder in a
// test folder and a script of input steps played whenever the message loop goes idle.
#pragma once

#include <deque>
#include <functional>

#include "launcher/tavrel_prj_dlg.h"
#include "platform/files/file_api.h"
#include "support/headless_fixture.h"
#include "support/temp_folder.h"

class LauncherTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        platform::OverrideModuleFilePath(folder.WidePath("TavrelPrj"));
    }
    void TearDown() override {
        platform::OverrideModuleFilePath(L"");
        HeadlessTest::TearDown();
    }

    // Options that follow the system, so no message box comes and the layout is the default one.
    void WriteSystemOptions(const std::string& extra = "") {
        folder.Write("options.ini",
                     "[main_settings]\r\nuse_system_colors=true\r\nuse_system_font=true\r\n"
                     "use_system_item_height=true\r\nuse_system_menu_pos=true\r\n"
                     "use_menu_inertia=true\r\n" +
                         extra);
    }
    void WriteEntries(int count) {
        std::string text;
        for (int index = 0; index < count; ++index) {
            text += "[Entry " + std::to_string(index) + "]\r\nExecPath=\r\n";
        }
        folder.Write("settings.ini", text);
    }

    // Runs the dialog; each step runs when the loop has nothing else to do. Returns the dialog's
    // result, or -1 when the script ran out before the dialog ended.
    INT_PTR Run(std::vector<std::function<void(CTavrelPrjDlg&)>> steps) {
        CTavrelPrjDlg dialog;
        dialog.m_bFullScreen = FALSE;
        std::deque<std::function<void(CTavrelPrjDlg&)>> pending(steps.begin(), steps.end());
        backend->onIdle = [&pending, &dialog]() {
            if (pending.empty()) return false;
            auto step = std::move(pending.front());
            pending.pop_front();
            step(dialog);
            return true;
        };
        const INT_PTR result = dialog.DoModal();
        backend->onIdle = nullptr;
        stepsLeft = static_cast<int>(pending.size());
        return result;
    }

    // A screen point inside the menu's row `row` (default layout, top of the list).
    static POINT RowPoint(CTavrelPrjDlg& dialog, int row) {
        POINT point{60, dialog.menu.RowRect(row).top + dialog.menu.itemHeight / 2};
        ::ClientToScreen(dialog.menu.m_hWnd, &point);
        return point;
    }

    TempFolder folder;
    int stepsLeft = 0;
};
