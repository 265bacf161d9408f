// CFontWnd: the font picker that a font item opens under (or above) its row: a drop-down list of
// the installed families, a size box, "Bold" and "Italic" check boxes and a preview of the sample
// text in the font the controls describe. Up and Down move the focus round the four controls.
// The item fills the working copy before Create and reads it back after the window is gone.
#pragma once

#include <string>

#include "platform/controls/button.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/edit.h"
#include "platform/controls/static_text.h"
#include "platform/windows/cwnd.h"

class CFontWnd : public CWnd {
    DECLARE_DYNAMIC(CFontWnd)

  public:
    // Child identifiers; Up and Down cycle from kFontListId to kItalicBoxId.
    static constexpr UINT kSizeLabelId = 1000;
    static constexpr UINT kFontListId = 1001;
    static constexpr UINT kSizeBoxId = 1002;
    static constexpr UINT kBoldBoxId = 1003;
    static constexpr UINT kItalicBoxId = 1004;

    CFontWnd();
    // Destroys the window first, so that it reads its controls back while they still exist.
    ~CFontWnd() override;

    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    BOOL PreTranslateMessage(MSG* message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CComboBox fontList;
    CEdit sizeBox;
    CStatic sizeLabel;
    CButton boldBox;
    CButton italicBox;
    // The working copy of the font: set before Create, read back from the controls on WM_DESTROY.
    bool bold = false;
    bool italic = false;
    int size = 0;
    std::wstring name;
    // Where the sample is drawn, in client coordinates (its frame includes right and bottom).
    CRect previewRect{0, 0, 0, 0};
    // The control Up and Down move from; kept from one edit to the next.
    int focusedControl = static_cast<int>(kFontListId);
    bool listOpen = false;

  protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnPaint();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

  private:
    void CreateChildren(int width, int height);
    void FillFontList();
    // Puts the working copy into the controls.
    void ShowWorkingCopy();
    // The sample in the font the controls describe, inside the preview frame.
    void DrawSample(CDC& dc);
    // Moves the focus one control on (+1) or back (-1), wrapping round.
    void StepFocus(int step);
};
