// The editor's dialog: its layout, the menu bar's commands and every way to close it, a save
// that fails, the description panel and the tear-down.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "platform/backends/headless/headless_backend.h"
#include "platform/controls/button.h"
#include "platform/controls/menu_bar.h"
#include "platform/windows/menus.h"
#include "settings/color_item.h"

namespace {

const char kOptions[] =
    "[main_settings]\r\nuse_system_colors=true\r\nodd_item.r=1\r\nuse_system_item_height=false\r\n"
    "user_item_height=64\r\npos_item_text=left\r\nuse_menu_inertia=true\r\n";

CRect RectInParent(const CWnd& child, const CWnd& parent) {
    CRect rect;
    child.GetWindowRect(&rect);
    POINT topLeft{rect.left, rect.top};
    POINT bottomRight{rect.right, rect.bottom};
    parent.ScreenToClient(&topLeft);
    parent.ScreenToClient(&bottomRight);
    return CRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
}

// Switches the selected "да"/"нет" row to the other choice: Enter opens the list, Down or Up
// moves, Enter ends the edit.
void SwitchSelectedChoice(UINT direction) {
    Key(VK_RETURN);
    Key(direction);
    Key(VK_RETURN);
}

// A centre point of one of the menu bar's two entries, on the screen.
POINT MenuBarEntry(const CWnd& dialog, int index) {
    CRect window;
    dialog.GetWindowRect(&window);
    return POINT{window.left + window.Width() * (2 * index + 1) / 4,
                 window.bottom - CMenuBar::BarHeight() / 2};
}

// The two steps of a colour edit left open: Enter on the even rows' colour opens its picker on
// the red slider; then Down three times reaches the red box, whose text becomes "77".
void OpenEvenColourPicker(CTavrelSettingsDlg&) {
    SelectWithKeys(4);
    Key(VK_RETURN);
}
void TypeRed77(CTavrelSettingsDlg&) {
    for (int press = 0; press < 3; ++press) Key(VK_DOWN);
    Key(VK_END);
    for (int press = 0; press < 3; ++press) Key(VK_BACK);
    Type(L"77");
}
// The even rows' colour as its row holds it.
COLORREF EvenColour(const CTavrelSettingsDlg& dialog) {
    BYTE red = 0, green = 0, blue = 0;
    return static_cast<const CColorItem*>(dialog.tree.FindItem(4))->GetColor(red, green, blue);
}

// Pixels of the panel's inside darker than mid grey: its text.
int TextPixels(const CWnd& panel) {
    const std::vector<COLORREF> pixels = platform::ReadWindowPixels(panel.m_hWnd);
    int count = 0;
    for (COLORREF pixel : pixels) {
        if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 128) ++count;
    }
    return count;
}

// The caption's height at 96 dpi with the title-bar ok button in it.
constexpr int kCaptionWithOkButton = 32;

class SettingsDialogTest : public EditorTest {};

TEST_F(SettingsDialogTest, TheTreeTakesTheUpperThreeQuartersAndThePanelTheRestAboveTheMenuBar) {
    folder.Write("options.ini", kOptions);
    // Handhelds whose client area is 240 wide and 320 or 322 high inside the one-pixel border,
    // between the caption and the menu bar; the split is a whole quarter times three.
    for (const int height : {320, 322}) {
        SCOPED_TRACE(height);
        display = {242, height + 2 + kCaptionWithOkButton + CMenuBar::BarHeight(), 96};
        backend = &platform::InstallHeadlessBackend(display);
        Run({[height](CTavrelSettingsDlg& dialog) {
            CRect client;
            dialog.GetClientRect(&client);
            EXPECT_EQ(client, CRect(0, 0, 240, height));
            EXPECT_EQ(RectInParent(dialog.tree, dialog), CRect(2, 2, 238, 240));
            EXPECT_EQ(RectInParent(dialog.description, dialog), CRect(2, 242, 238, height - 2));
            EXPECT_EQ(::GetDlgItem(dialog.m_hWnd, 1001), dialog.tree.m_hWnd);
            EXPECT_EQ(::GetDlgItem(dialog.m_hWnd, 1002), dialog.description.m_hWnd);
            EXPECT_EQ(::GetFocus(), dialog.tree.m_hWnd);
            EXPECT_EQ(::GetMenuItemCount(dialog.menuBarMenu), 2);
            wchar_t text[32] = {};
            ::GetWindowText(dialog.m_hWnd, text, 32);
            EXPECT_STREQ(text, L"Tavrel Settings");
            dialog.DestroyWindow();
        }});
    }
}

TEST_F(SettingsDialogTest, CancelLeavesTheFileByteForByteAfterEditsWithoutAsking) {
    // CR LF, comments and a foreign section: anything but a rewrite keeps them.
    const std::string original = std::string("; mine\r\n") + kOptions + "[x]\r\ny=1\r\n";
    struct Way {
        const char* name;
        std::function<void(CTavrelSettingsDlg&)> close;
    };
    const Way ways[] = {
        {"F2", [](CTavrelSettingsDlg&) { Key(VK_F2); }},
        {"tap on отменить", [](CTavrelSettingsDlg& dialog) { Tap(MenuBarEntry(dialog, 1)); }}};
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        folder.Write("options.ini", original);
        backend->messageBoxes.clear();
        const int left = Run({[](CTavrelSettingsDlg&) { SelectWithKeys(2); },
                              [](CTavrelSettingsDlg&) { SwitchSelectedChoice(VK_DOWN); },
                              [&](CTavrelSettingsDlg& dialog) { way.close(dialog); },
                              [](CTavrelSettingsDlg&) {}});
        EXPECT_EQ(left, 1);  // closed by the last real step, not by the script running out
        EXPECT_TRUE(backend->messageBoxes.empty());
        EXPECT_EQ(folder.Read("options.ini"), original);
        EXPECT_EQ(folder.FileCount(), 1);
    }
}

// The title bar's OK, the window manager's close and Escape ask before edits are lost: "да"
// saves and closes, "нет" closes, "отмена" goes back with every edit; with nothing changed
// they close at once.
TEST_F(SettingsDialogTest, ClosingWithEditsAsksWhetherToSaveThem) {
    const std::string original = std::string("; mine\r\n") + kOptions;
    struct Way {
        const char* name;
        std::function<void(CTavrelSettingsDlg&)> close;
    };
    const Way ways[] = {
        {"Escape", [](CTavrelSettingsDlg&) { Key(VK_ESCAPE); }},
        {"the desktop's close", [](CTavrelSettingsDlg& dialog) { dialog.PostMessage(WM_CLOSE); }},
        {"the title-bar OK", [](CTavrelSettingsDlg& dialog) {
             dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
         }}};
    for (const Way& way : ways) {
        for (const int answer : {IDYES, IDNO, IDCANCEL}) {
            SCOPED_TRACE(std::string(way.name) + " answered " + std::to_string(answer));
            folder.Write("options.ini", original);
            backend->messageBoxes.clear();
            backend->messageBoxAnswer = answer;
            bool openAfterAnswer = false;
            const int left = Run({[](CTavrelSettingsDlg&) { SelectWithKeys(2); },
                                  [](CTavrelSettingsDlg&) { SwitchSelectedChoice(VK_DOWN); },
                                  [&](CTavrelSettingsDlg& dialog) { way.close(dialog); },
                                  [&](CTavrelSettingsDlg& dialog) {
                                      openAfterAnswer = true;
                                      EXPECT_EQ(::GetFocus(), dialog.tree.m_hWnd);
                                      EXPECT_EQ(dialog.tree.FindItem(2)->value, L"нет");
                                      backend->messageBoxAnswer = IDNO;
                                      Key(VK_ESCAPE);
                                  },
                                  [](CTavrelSettingsDlg&) {}});
            EXPECT_EQ(left, answer == IDCANCEL ? 1 : 2);
            EXPECT_EQ(openAfterAnswer, answer == IDCANCEL);
            ASSERT_EQ(backend->messageBoxes.size(), answer == IDCANCEL ? 2U : 1U);
            EXPECT_EQ(backend->messageBoxes[0].text, L"Сохранить изменения?");
            EXPECT_EQ(backend->messageBoxes[0].type & MB_TYPEMASK, UINT{MB_YESNOCANCEL});
            EXPECT_NE(backend->messageBoxes[0].owner, nullptr);
            const bool saved =
                folder.Read("options.ini").find("use_system_colors=false\r\n") != std::string::npos;
            EXPECT_EQ(saved, answer == IDYES);
            if (answer != IDYES) {
                EXPECT_EQ(folder.Read("options.ini"), original);
            }
        }
        // Nothing changed (a choice switched there and back): no question.
        SCOPED_TRACE(std::string(way.name) + " without changes");
        folder.Write("options.ini", original);
        backend->messageBoxes.clear();
        EXPECT_EQ(Run({[](CTavrelSettingsDlg&) { SelectWithKeys(2); },
                       [](CTavrelSettingsDlg&) { SwitchSelectedChoice(VK_DOWN); },
                       [](CTavrelSettingsDlg&) { SwitchSelectedChoice(VK_UP); },
                       [&](CTavrelSettingsDlg& dialog) { way.close(dialog); },
                       [](CTavrelSettingsDlg&) {}}),
                  1);
        EXPECT_TRUE(backend->messageBoxes.empty());
        EXPECT_EQ(folder.Read("options.ini"), original);
    }
}

TEST_F(SettingsDialogTest, TheQuestionsButtonsReadDaNetOtmenaAndAFailedSaveFromItKeepsTheEditor) {
    // options.ini is a folder: read as missing, and not writable either.
    std::filesystem::create_directory(folder.Path("options.ini"));
    backend->answerMessageBoxes = false;
    std::vector<std::wstring> labels;
    bool openAfterFailure = false;
    const auto answerLatestBox = [this](int button) {
        ::SendMessage(backend->messageBoxes.back().box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                      0);
    };
    const int left =
        Run({[&](CTavrelSettingsDlg&) { answerLatestBox(IDOK); },  // the reader's "!CreateFile"
             [](CTavrelSettingsDlg&) { SelectWithKeys(2); },
             [](CTavrelSettingsDlg&) { SwitchSelectedChoice(VK_DOWN); },
             [](CTavrelSettingsDlg&) { Key(VK_ESCAPE); },
             [&](CTavrelSettingsDlg&) {
                 const HWND box = backend->messageBoxes.back().box;
                 for (const int id : {IDYES, IDNO, IDCANCEL}) {
                     wchar_t text[16] = {};
                     ::GetWindowText(::GetDlgItem(box, id), text, 16);
                     labels.emplace_back(text);
                 }
                 answerLatestBox(IDYES);
             },
             [&](CTavrelSettingsDlg&) { answerLatestBox(IDOK); },  // the writer's "!CreateFile"
             [&](CTavrelSettingsDlg&) { answerLatestBox(IDOK); },  // why the save failed
             [&](CTavrelSettingsDlg& dialog) {
                 openAfterFailure = ::IsWindow(dialog.m_hWnd) != FALSE;
                 EXPECT_EQ(dialog.tree.FindItem(2)->value, L"нет");
                 Key(VK_F2);
             },
             [](CTavrelSettingsDlg&) {}});
    EXPECT_EQ(left, 1);
    EXPECT_EQ(labels, (std::vector<std::wstring>{L"да", L"нет", L"отмена"}));
    EXPECT_TRUE(openAfterFailure);
    ASSERT_EQ(backend->messageBoxes.size(), 4U);
    EXPECT_NE(backend->messageBoxes[3].text.find(L"Is a directory"), std::wstring::npos);
}

// Escape with a picker, an in-place editor or a dropped list open ends only that: the edit is
// kept as Enter keeps it, and the editor stays.
TEST_F(SettingsDialogTest, EscapeInAnEditEndsOnlyTheEdit) {
    folder.Write("options.ini",
                 "[main_settings]\r\nuse_system_colors=false\r\n"
                 "use_system_item_height=false\r\nuser_item_height=64\r\n");
    backend->messageBoxAnswer = IDNO;
    std::wstring height;
    COLORREF colour = 0;
    bool editingAfterEscape = true;
    const int left =
        Run({OpenEvenColourPicker, TypeRed77, [](CTavrelSettingsDlg&) { Key(VK_ESCAPE); },
             [&](CTavrelSettingsDlg& dialog) {
                 editingAfterEscape = dialog.tree.FindItem(4)->IsEditing();
                 colour = EvenColour(dialog);
                 // The height row's box, typed in, then Escape.
                 SelectWithKeys(8);
                 Key(VK_RETURN);
                 Key(VK_END);
                 for (int press = 0; press < 4; ++press) Key(VK_BACK);
                 Type(L"51");
                 Key(VK_ESCAPE);
             },
             [&](CTavrelSettingsDlg& dialog) {
                 height = dialog.tree.FindItem(12)->value;
                 // The picker again, its keys handed back to the tree by Enter: Escape there ends
                 // it.
                 for (int press = 0; press < 8; ++press) Key(VK_UP);
                 Key(VK_RETURN);
                 Key(VK_RETURN);
             },
             [&](CTavrelSettingsDlg& dialog) {
                 EXPECT_TRUE(dialog.tree.FindItem(4)->IsEditing());
                 EXPECT_EQ(::GetFocus(), dialog.tree.m_hWnd);
                 Key(VK_ESCAPE);
             },
             [&](CTavrelSettingsDlg& dialog) {
                 EXPECT_FALSE(dialog.tree.FindItem(4)->IsEditing());
                 EXPECT_TRUE(backend->messageBoxes.empty()) << "no Escape reached the dialog";
                 ASSERT_TRUE(::IsWindow(dialog.m_hWnd));
                 Key(VK_F2);
             },
             [](CTavrelSettingsDlg&) {}});
    EXPECT_EQ(left, 1);
    EXPECT_FALSE(editingAfterEscape);
    EXPECT_EQ(GetRValue(colour), 77);
    EXPECT_EQ(height, L"51");
}

// A rotated screen, or a window manager that resizes the editor: the tree, the panel and the menu
// bar follow the new size; an open picker closes with its edit kept; nothing is lost.
TEST_F(SettingsDialogTest, ARotatedOrResizedEditorLaysItselfOutAgainKeepingEveryEdit) {
    folder.Write("options.ini", "[main_settings]\r\nuse_system_colors=false\r\n");
    const auto expectLaidOut = [](CTavrelSettingsDlg& dialog, const CRect& window) {
        CRect shown;
        dialog.GetWindowRect(&shown);
        EXPECT_EQ(shown, window);
        CRect client;
        dialog.GetClientRect(&client);
        const int split = client.bottom / 4 * 3;
        EXPECT_EQ(RectInParent(dialog.tree, dialog), CRect(2, 2, client.right - 2, split));
        EXPECT_EQ(RectInParent(dialog.description, dialog),
                  CRect(2, split + 2, client.right - 2, client.bottom - 2));
        CRect bar;
        ::GetWindowRect(::GetBottomBar(dialog.m_hWnd), &bar);
        EXPECT_EQ(bar.bottom, shown.bottom - 1) << "the menu bar at the bottom, inside the border";
        EXPECT_EQ(bar.Width(), client.Width());
    };
    bool closed = false;
    COLORREF colour = 0;
    Run({OpenEvenColourPicker, TypeRed77,
         [](CTavrelSettingsDlg&) {
             platform::input::DisplayChanged({640, 480, 96});
         },
         [&](CTavrelSettingsDlg& dialog) {
             expectLaidOut(dialog, CRect(0, 0, 640, 480));
             closed = !dialog.tree.FindItem(4)->IsEditing();
             colour = EvenColour(dialog);
             EXPECT_EQ(::GetFocus(), dialog.tree.m_hWnd);
             platform::input::WindowResized(dialog.m_hWnd, SIZE{300, 700});
         },
         [&](CTavrelSettingsDlg& dialog) {
             expectLaidOut(dialog, CRect(0, 0, 300, 700));
             // Down goes on from the selected colour.
             Key(VK_DOWN);
         },
         [&](CTavrelSettingsDlg& dialog) {
             EXPECT_EQ(dialog.tree.GetCurrentItem(), dialog.tree.FindItem(5));
             // A desktop monitor: a handheld-shaped window in its middle.
             platform::input::DisplayChanged({1920, 1080, 96});
         },
         [&](CTavrelSettingsDlg& dialog) {
             expectLaidOut(dialog, CRect(606, 67, 1314, 1012));
             Key(VK_F1);
         }});
    EXPECT_TRUE(closed);
    EXPECT_EQ(GetRValue(colour), 77);
    EXPECT_NE(folder.Read("options.ini").find("even_item.r=77\r\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, AFileWithNothingReadableIsSaidOnceAndTheEditorStartsFromTheSystemLook) {
    const std::string lf = "[main_settings]\nuse_system_colors=false\nuser_item_height=70\n";
    folder.Write("options.ini", lf);
    std::wstring colours;
    Run({[&](CTavrelSettingsDlg& dialog) {
        colours = dialog.tree.FindItem(2)->value;
        Key(VK_ESCAPE);
    }});
    EXPECT_EQ(colours, L"да");
    ASSERT_EQ(backend->messageBoxes.size(), 1U);
    EXPECT_EQ(backend->messageBoxes[0].caption, L"Tavrel Settings");
    EXPECT_NE(backend->messageBoxes[0].text.find(folder.WidePath("options.ini")),
              std::wstring::npos);
    EXPECT_NE(backend->messageBoxes[0].text.find(L"не удалось прочитать"), std::wstring::npos);
    EXPECT_EQ(folder.Read("options.ini"), lf) << "nothing changed, nothing written";
}

TEST_F(SettingsDialogTest, SaveWritesEvenWithoutChangesAndTakesTheValueStillBeingEdited) {
    folder.Write("options.ini", kOptions);
    EXPECT_EQ(Run({[](CTavrelSettingsDlg&) {
                       Tap(POINT{0, 0});
                   },
                   [](CTavrelSettingsDlg& dialog) { Tap(MenuBarEntry(dialog, 0)); },
                   [](CTavrelSettingsDlg&) {}}),
              1);
    const std::string saved = folder.Read("options.ini");
    EXPECT_NE(saved, kOptions);
    EXPECT_NE(saved.find("pos_item_text=left\r\n"), std::string::npos);

    // The height row's edit box is still open when F1 comes; so is a colour picker.
    folder.Write("options.ini", kOptions);
    Run({[](CTavrelSettingsDlg&) {
             SelectWithKeys(12);
             Key(VK_RETURN);
         },
         [](CTavrelSettingsDlg&) {
             Key(VK_END);
             for (int press = 0; press < 4; ++press) Key(VK_BACK);
             Type(L"42");
         },
         [](CTavrelSettingsDlg& dialog) {
             ASSERT_NE(dialog.tree.FindItem(12)->value, L"42");
             Key(VK_F1);
         }});
    EXPECT_NE(folder.Read("options.ini").find("user_item_height=42\r\n"), std::string::npos);

    folder.Write("options.ini", "[main_settings]\r\nuse_system_colors=false\r\n");
    Run({[](CTavrelSettingsDlg&) {
             SelectWithKeys(4);
             Key(VK_RETURN);
         },
         [](CTavrelSettingsDlg& dialog) {
             auto* item = static_cast<CColorItem*>(dialog.tree.FindItem(4));
             ASSERT_TRUE(item->IsEditing());
             CSliderCtrl& green = item->picker.greenSlider;
             green.SetPos(222);
             item->picker.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 222),
                                      reinterpret_cast<LPARAM>(green.m_hWnd));
         },
         [](CTavrelSettingsDlg&) { Key(VK_F1); }});
    EXPECT_NE(
        folder.Read("options.ini").find("even_item.r=0\r\neven_item.g=222\r\neven_item.b=0\r\n"),
        std::string::npos);
}

TEST_F(SettingsDialogTest, AFailedSaveSaysWhyAndKeepsTheEditorOpenWithItsEditsUntilASaveWorks) {
    // options.ini is a folder: read as missing, and not writable either.
    std::filesystem::create_directory(folder.Path("options.ini"));
    int boxesAfterFailure = 0;
    bool openAfterFailure = false;
    const int left = Run({[](CTavrelSettingsDlg&) { SelectWithKeys(2); },
                          [](CTavrelSettingsDlg&) { SwitchSelectedChoice(VK_DOWN); },
                          [](CTavrelSettingsDlg&) { Key(VK_F1); },
                          [&](CTavrelSettingsDlg& dialog) {
                              boxesAfterFailure = static_cast<int>(backend->messageBoxes.size());
                              openAfterFailure = ::IsWindow(dialog.m_hWnd) != FALSE;
                              EXPECT_EQ(::GetFocus(), dialog.tree.m_hWnd);
                              std::filesystem::remove(folder.Path("options.ini"));
                              Key(VK_F1);
                          },
                          [](CTavrelSettingsDlg&) {}});
    EXPECT_EQ(left, 1);
    EXPECT_TRUE(openAfterFailure);
    ASSERT_EQ(boxesAfterFailure, 3);
    EXPECT_EQ(backend->messageBoxes[0].text, L"!CreateFile");  // the reading
    EXPECT_EQ(backend->messageBoxes[1].text, L"!CreateFile");  // the writing
    const std::wstring& why = backend->messageBoxes[2].text;
    EXPECT_NE(why.find(folder.WidePath("options.ini")), std::wstring::npos);
    EXPECT_NE(why.find(L"Is a directory"), std::wstring::npos)
        << std::string(why.begin(), why.end());
    EXPECT_NE(backend->messageBoxes[2].owner, nullptr);
    // The second save wrote the edit made before the first.
    EXPECT_NE(folder.Read("options.ini").find("use_system_colors=false\r\n"), std::string::npos);
    EXPECT_EQ(folder.FileCount(), 1);
}

TEST_F(SettingsDialogTest, ADiskThatFailsMidWriteKeepsTheOldFileAndTheEditorOpen) {
    folder.Write("options.ini", kOptions);
    bool open = false;
    platform::SetFileFailureInjector(
        [](platform::FileStep step) { return step == platform::FileStep::Sync; });
    Run({[](CTavrelSettingsDlg&) { Key(VK_F1); },
         [&](CTavrelSettingsDlg& dialog) {
             platform::SetFileFailureInjector(nullptr);
             open = ::IsWindow(dialog.m_hWnd) != FALSE;
             EXPECT_EQ(folder.Read("options.ini"), kOptions);
             EXPECT_EQ(folder.FileCount(), 1);
             Key(VK_F2);
         }});
    platform::SetFileFailureInjector(nullptr);
    EXPECT_TRUE(open);
    ASSERT_EQ(backend->messageBoxes.size(), 2U);
    EXPECT_NE(backend->messageBoxes[1].text.find(L"Input/output error"), std::wstring::npos);
    EXPECT_EQ(folder.Read("options.ini"), kOptions);
}

TEST_F(SettingsDialogTest, ThePanelShowsTheSelectedRowsDescriptionAndKeepsItPastTheLastRow) {
    folder.Write("options.ini", kOptions);
    int before = -1;
    int first = -1;
    std::vector<COLORREF> atLast;
    std::vector<COLORREF> pastLast;
    Run({[&](CTavrelSettingsDlg& dialog) {
             before = TextPixels(dialog.description);
             Key(VK_DOWN);
         },
         [&](CTavrelSettingsDlg& dialog) {
             first = TextPixels(dialog.description);
             SelectWithKeys(20);
         },
         [&](CTavrelSettingsDlg& dialog) {
             EXPECT_EQ(dialog.tree.GetCurrentItem(), dialog.tree.FindItem(21));
             atLast = platform::ReadWindowPixels(dialog.description.m_hWnd);
             Key(VK_DOWN);
         },
         [&](CTavrelSettingsDlg& dialog) {
             pastLast = platform::ReadWindowPixels(dialog.description.m_hWnd);
             dialog.DestroyWindow();
         }});
    EXPECT_EQ(before, 0);
    EXPECT_GT(first, 200);  // two lines of text
    EXPECT_NE(atLast, std::vector<COLORREF>());
    EXPECT_EQ(pastLast, atLast);
}

TEST_F(SettingsDialogTest, TearDownDestroysTheMenuAndLeavesNoItemPointingAtADescription) {
    folder.Write("options.ini", kOptions);
    HMENU menu = nullptr;
    afterEnd = [&](CTavrelSettingsDlg& dialog) {
        EXPECT_EQ(dialog.menuBarMenu, nullptr);
        EXPECT_TRUE(dialog.dependencies.empty());
        int withDescription = 0;
        for (int id = 1; id <= 21; ++id) {
            if (const CSPMobTreeItem* item = dialog.tree.FindItem(id); item->userData != nullptr) {
                ++withDescription;
            }
        }
        EXPECT_EQ(withDescription, 0);
    };
    Run({[&](CTavrelSettingsDlg& dialog) {
        menu = dialog.menuBarMenu;
        Key(VK_F2);
    }});
    EXPECT_FALSE(::IsMenu(menu));
}

}  // namespace
