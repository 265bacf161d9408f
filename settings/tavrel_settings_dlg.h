// CTavrelSettingsDlg: the settings editor's one window, a dialog with the property tree of the
// options page over the description panel and a two-entry menu bar, "сохранить" and "отменить".
// The dialog shell is in tavrel_settings_dlg.cpp; what the tree holds, how it is filled from the
// options and saved back, and how a "system" choice greys out its rows, in options_page.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/options.h"
#include "platform/framework/dialog.h"
#include "settings/about_frame.h"
#include "settings/combo_box_item.h"
#include "settings/sp_mob_tree.h"

class CTavrelSettingsDlg : public CDialog {
  public:
    explicit CTavrelSettingsDlg(CWnd* parent = nullptr);
    ~CTavrelSettingsDlg() override;

    static constexpr UINT kTreeId = 1001;
    static constexpr UINT kDescriptionId = 1002;
    static constexpr UINT kSaveCommand = 1100;
    static constexpr UINT kCancelCommand = 1101;

    // A "system" choice and the value at which the rows under it are enabled.
    struct Dependency {
        CComboBoxItem* item = nullptr;
        std::wstring enablingText;
    };

    HMENU menuBarMenu = nullptr;
    CSPMobTree tree;
    CAboutFrame description;
    std::vector<std::unique_ptr<Dependency>> dependencies;
    Options options;

    // Fills the tree from `options`.
    void BuildTree();
    // The document that saving writes, from the tree; the edit in progress ends first.
    void BuildOptionsDocument(IniDocument& document);
    // Writes options.ini from the tree; false (after the writer's message) when the file could
    // not be written, in which case the old file is untouched.
    bool SaveOptions();
    // Whether saving now would write other options than those read at the start.
    bool OptionsChanged();
    // Gives the item a copy of the text as its description.
    void AttachDescription(const wchar_t* text, CSPMobTreeItem* item);

  protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The title bar's OK, the window manager's close and Escape on the tree: with edits made,
    // the user is asked whether to save them first.
    void OnOK() override;
    void OnCancel() override;
    void OnSize(UINT type, int width, int height);
    LRESULT OnItemChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectionChanged(WPARAM wParam, LPARAM lParam);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

  private:
    void CreateMenuBar();
    // The tree over the upper three quarters of the client area, the panel under it.
    static CRect TreeRect(const CRect& client);
    static CRect PanelRect(const CRect& client);
    // Says once that options.ini held nothing readable and the editor starts from the system look.
    void ReportUnreadableFile();
    // True when the dialog may close now: nothing changed, or the user chose "нет", or "да"
    // and the save succeeded. While its question is open, further requests are refused.
    bool ReadyToClose();
    // A save that failed: says where and why, and keeps the editor open with every edit.
    void ReportSaveFailure();

    // The descriptions that the items' userData point to; the dialog owns them.
    std::vector<std::unique_ptr<std::wstring>> descriptions_;
    bool askingToClose_ = false;
};
