#include "platform/framework/resources.h"

#include <cstdlib>
#include <map>

#include "platform/base/system_metrics.h"
#include "platform/graphics/gdi.h"

namespace platform {
namespace {

struct ResourceTable {
    std::map<UINT, DialogTemplate> dialogs;
    std::map<UINT, std::vector<IconGroupImage>> iconGroups;
    std::map<std::pair<std::wstring, std::wstring>, std::uint32_t> values;
};

ResourceTable& Table() {
    static ResourceTable table;
    return table;
}

}  // namespace

void RegisterDialogTemplate(UINT id, DialogTemplate dialogTemplate) {
    Table().dialogs[id] = std::move(dialogTemplate);
}

const DialogTemplate* FindDialogTemplate(UINT id) {
    auto found = Table().dialogs.find(id);
    return found == Table().dialogs.end() ? nullptr : &found->second;
}

void RegisterIconGroup(UINT id, std::vector<IconGroupImage> images) {
    Table().iconGroups[id] = std::move(images);
}

const std::vector<IconGroupImage>* FindIconGroup(UINT id) {
    auto found = Table().iconGroups.find(id);
    return found == Table().iconGroups.end() ? nullptr : &found->second;
}

void RegisterValueResource(const std::wstring& type, const std::wstring& name,
                           std::uint32_t value) {
    Table().values[{type, name}] = value;
}

bool FindValueResource(const std::wstring& type, const std::wstring& name, std::uint32_t* value) {
    auto found = Table().values.find({type, name});
    if (found == Table().values.end()) return false;
    if (value != nullptr) *value = found->second;
    return true;
}

}  // namespace platform

HICON LoadIcon(HINSTANCE /*instance*/, UINT id) {
    const std::vector<platform::IconGroupImage>* images = platform::FindIconGroup(id);
    if (images == nullptr || images->empty()) return nullptr;
    const int wanted = GetSystemMetrics(SM_CXICON);
    const platform::IconGroupImage* best = &images->front();
    for (const platform::IconGroupImage& image : *images) {
        if (std::abs(image.width - wanted) < std::abs(best->width - wanted)) best = &image;
    }
    return CreateIconFromPixels(best->width, best->height, best->pixels.data());
}
