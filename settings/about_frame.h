// CAboutFrame: the framed text panel under the settings editor's tree that describes the selected
// item. It only shows text: word-wrapped, line breaks kept, cut at the bottom, never scrolled.
#pragma once

#include <string>

#include "platform/windows/cwnd.h"

class CAboutFrame : public CWnd {
    DECLARE_DYNAMIC(CAboutFrame)

  public:
    CAboutFrame();
    ~CAboutFrame() override;

    using CWnd::Create;
    // Registers the panel's window class on first use and creates the window without a title.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Replaces the text; the caller repaints the panel.
    void SetText(const wchar_t* text);

  protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()

  private:
    std::wstring text_;
};
