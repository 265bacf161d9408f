// Runs the settings editor's real dialog modally on the headless screen, with the program's
// folder in a test folder and a script of steps played whenever the message loop goes idle.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/files/file_api.h"
#include "platform/windows/input.h"
#include "settings/tavrel_settings_dlg.h"
#include "support/headless_fixture.h"
#include "support/temp_folder.h"

// Real input, as the user gives it: a key pressed and released, typed text, a tap at a screen
// point.
inline void Key(UINT key) {
    platform::input::KeyDown(key);
    platform::input::KeyUp(key);
}
inline void Type(const std::wstring& text) {
    for (wchar_t character : text) platform::input::Character(character);
}
inline void Tap(POINT point) {
    platform::input::StylusDown(point);
    platform::input::StylusUp(point);
}
// Selects the node `id` of the editor's tree (all rows expanded) with the Down key from no
// selection.
inline void SelectWithKeys(int id) {
    for (int press = 0; press < id; ++press) Key(VK_DOWN);
}

class EditorTest : public HeadlessTest {
  protected:
    using Step = std::function<void(CTavrelSettingsDlg&)>;

    void SetUp() override {
        HeadlessTest::SetUp();
        platform::OverrideModuleFilePath(folder.WidePath("TavrelSettings"));
    }
    void TearDown() override {
        platform::OverrideModuleFilePath(L"");
        HeadlessTest::TearDown();
    }

    // Runs the dialog; each step runs when the loop has nothing else to do. Returns the number
    // of steps left when the dialog ended (0: it ended after the last one, or -1 when the script
    // ran out before it ended).
    int Run(std::vector<Step> steps) {
        CTavrelSettingsDlg dialog;
        std::deque<Step> pending(steps.begin(), steps.end());
        bool ranOut = false;
        backend->onIdle = [&]() {
            if (pending.empty()) {
                ranOut = true;
                return false;
            }
            Step step = std::move(pending.front());
            pending.pop_front();
            step(dialog);
            return true;
        };
        dialog.DoModal();
        backend->onIdle = nullptr;
        afterEnd(dialog);
        return ranOut ? -1 : static_cast<int>(pending.size());
    }

    // Checks made on the dialog object once its window is gone.
    std::function<void(CTavrelSettingsDlg&)> afterEnd = [](CTavrelSettingsDlg&) {};
    TempFolder folder;
};
