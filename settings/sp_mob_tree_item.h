// CSPMobTreeItem: one row of the property tree, and the plain node (a group header, or a label
// with a value and no editor). It draws its own row, tells whether that row is wholly in view,
// and tells the tree's parent when an edit ends. The item kinds with editors derive from it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/windows/cwnd.h"

class CSPMobTree;

class CSPMobTreeItem {
  public:
    explicit CSPMobTreeItem(CSPMobTree* owner);
    CSPMobTreeItem(const CSPMobTreeItem&) = delete;
    CSPMobTreeItem& operator=(const CSPMobTreeItem&) = delete;
    // Deletes the children, each with its whole subtree.
    virtual ~CSPMobTreeItem();

    // Draws the whole row in `rect`, the label left of `splitX` (measured from the rectangle's
    // left edge) and the value right of it.
    virtual void Draw(CDC* dc, const RECT& rect, int splitX);
    // Draws the value in the value column of a property row.
    virtual void DrawValue(CDC* dc, const RECT& rect, int splitX);
    // Whether the item's own pop-up editor window is open.
    virtual bool IsEditing();
    // Ends an edit: the value edited so far is kept, and the tree's parent hears of it.
    virtual void EndEdit();
    // Opens the item's editor over the value cell `cell` (tree client coordinates).
    virtual void BeginEdit(const RECT& cell);

    bool IsExpanded() const { return expanded; }
    bool HasChildren() const { return !children.empty(); }
    // True when the row is not wholly in view (or not laid out at all). Unless `queryOnly`, a
    // laid-out row is also invalidated so that it is drawn again.
    bool RefreshRow(bool queryOnly);

    // The most characters a label or value holds when text comes back from an editor.
    static constexpr std::size_t kMaxTextLength = 259;

    std::wstring label;
    std::wstring value;
    int parentId = -1;
    int id = 0;
    bool selected = false;
    bool expanded = true;
    std::vector<std::unique_ptr<CSPMobTreeItem>> children;
    bool disabled = false;
    CSPMobTree* tree;
    // Left to the tree's owner; neither the tree nor the item reads or frees it.
    void* userData = nullptr;

  protected:
    // An editor's text as it goes back into `value`: at most kMaxTextLength characters, and
    // nothing from an editor whose window is already gone.
    static std::wstring TextOfEditor(const CWnd& editor, const std::wstring& fallback);
};
