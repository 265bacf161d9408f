// CColorWnd: the colour picker that a colour item opens beside its row. Three sliders for red,
// green and blue with a number box beside each, and a strip under them that shows the colour.
// Sliders and boxes follow each other; Up and Down move the focus round the six controls.
#pragma once

#include <cstdint>

#include "platform/controls/edit.h"
#include "platform/controls/slider.h"
#include "platform/windows/cwnd.h"

class CColorWnd : public CWnd {
    DECLARE_DYNAMIC(CColorWnd)

  public:
    // Child identifiers: the sliders, then the boxes, each in the order red, green, blue.
    static constexpr int kRedSliderId = 1000;
    static constexpr int kBlueSliderId = 1002;
    static constexpr int kRedBoxId = 1003;
    static constexpr int kBlueBoxId = 1005;

    // The colour value of three components: red | green << 8 | blue << 16.
    static COLORREF ColorOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    CColorWnd();
    ~CColorWnd() override;

    using CWnd::Create;
    // Creates the picker window showing the colour (red, green, blue).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, std::uint8_t red,
                std::uint8_t green, std::uint8_t blue);

    BOOL PreTranslateMessage(MSG* message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CSliderCtrl redSlider;
    CSliderCtrl greenSlider;
    CSliderCtrl blueSlider;
    CEdit redBox;
    CEdit greenBox;
    CEdit blueBox;
    // The colour being edited.
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    // The child that Up and Down move on from. Only those keys change it, and it outlives the
    // window, so the next edit starts counting from where this one stopped.
    int focusedControl = kRedSliderId;

  protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnPaint();

    DECLARE_MESSAGE_MAP()

  private:
    // Component 0, 1 or 2 (red, green, blue) and its controls.
    std::uint8_t& Component(int index);
    CSliderCtrl& Slider(int index);
    CEdit& Box(int index);
    // The index of the slider or box whose window a message names as its sender, or -1.
    int SliderIndex(LPARAM sender) const;
    int BoxIndex(LPARAM sender) const;

    // The box `index` was edited: its number's low 8 bits become the component.
    void TakeBoxValue(int index);
    // The slider `index` was moved: its position becomes the component and the box's text.
    void TakeSliderValue(int index);
    // The strip under the sliders that shows the colour.
    CRect PreviewRect() const;
    // Moves the focus to the child `focusedControl` names.
    void FocusCounted();
};
