// The stage every picture of the settings editor is drawn on: a window of the editor's face
// colour on a phone-sized headless screen, with the property tree in its upper three quarters
// (the editor's split), saved as a PNG file once the scene is set.
#pragma once

#include <cstdint>
#include <string>

#include "platform/graphics/gdi_classes.h"
#include "settings/sp_mob_tree.h"

namespace snapshots {

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 800;
constexpr int kHostHeight = 760;  // room under the tree for the description panel

// The options page's colours, as a user might have set them.
struct ColorRow {
    const wchar_t* label;
    std::uint8_t red, green, blue;
};
inline constexpr ColorRow kColors[] = {
    {L"нечетная позиция", 255, 255, 255},      {L"четная позиция", 230, 236, 245},
    {L"активный элемент", 10, 36, 106},        {L"цвет надписи", 0, 0, 0},
    {L"активный цвет надписи", 255, 255, 255}, {L"цвет ползунка", 128, 128, 128},
};

class Stage {
  public:
    // Creates the host window `height` pixels high; `withTree` adds the tree to it.
    Stage(int height, bool withTree);
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    bool Ready() const { return ready_; }
    CWnd& Host() { return host_; }
    CSPMobTree& Tree() { return tree_; }
    // Lets every pending message run, then writes the host's pixels to `path`.
    bool Save(const std::string& path);

  private:
    CBrush face_;
    CWnd host_;
    CSPMobTree tree_;
    bool ready_ = false;
};

}  // namespace snapshots
