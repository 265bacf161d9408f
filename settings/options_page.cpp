// The options page of CTavrelSettingsDlg: one tree row for every key of options.ini under the
// header "свойства", two information rows, the greying of the rows under a "system" choice, and
// the writing of options.ini from the rows.
#include <array>

#include "config/color_font.h"
#include "config/ini_document.h"
#include "config/number_text.h"
#include "config/options.h"
#include "config/program_folder.h"
#include "settings/color_item.h"
#include "settings/font_item.h"
#include "settings/tavrel_settings_dlg.h"

namespace {

constexpr const wchar_t* kYes = L"да";
constexpr const wchar_t* kNo = L"нет";
// The value of a "system" choice at which the rows under it can be edited.
constexpr const wchar_t* kEnablingText = L"нет";

constexpr const wchar_t* kSystemColors = L"системные цвета";
constexpr const wchar_t* kSystemFont = L"системный шрифт";
constexpr const wchar_t* kUserFont = L"пользовательский шрифт";
constexpr const wchar_t* kSystemItemHeight = L"системная высота элемента";
constexpr const wchar_t* kUserItemHeight = L"пользовательская высота элемента";
constexpr const wchar_t* kSystemMenuPos = L"системное позиционирование";
constexpr const wchar_t* kTextPosition = L"позиция текста";
constexpr const wchar_t* kInertia = L"использовать инерцию";

constexpr const wchar_t* kCentre = L"по центру";
constexpr const wchar_t* kLeft = L"влево";
constexpr const wchar_t* kRight = L"вправо";

// A colour row: its label, description, key prefix and the field of Options that seeds it.
struct ColorRow {
    const wchar_t* label;
    const wchar_t* description;
    const char* keyPrefix;
    ColorTriple Options::*field;
};

constexpr std::array<ColorRow, 6> kColorRows = {{
    {L"нечетная позиция", L"фоновый цвет нечетного элемента меню", "odd_item", &Options::odd_item},
    {L"четная позиция", L"фоновый цвет четного элемента меню", "even_item", &Options::even_item},
    {L"активный элемент", L"фоновый цвет активного элемента меню", "active_item",
     &Options::active_item},
    {L"цвет надписи", L"цвет надписи элемента меню", "font", &Options::font},
    {L"активный цвет надписи", L"цвет надписи активного элемента меню", "active_font",
     &Options::active_font},
    {L"цвет ползунка", L"цвет ползунка, по умолчанию используется черный цвет", "slider",
     &Options::slider},
}};

// A row of the window rectangle.
struct NumberRow {
    const wchar_t* label;
    const wchar_t* description;
    const char* key;
    std::int32_t Options::*field;
};

constexpr std::array<NumberRow, 4> kMenuPosRows = {{
    {L"x верхний левый", L"x координата верхнего левого угла окна меню", "user_menu_pos_TL_X",
     &Options::user_menu_pos_TL_X},
    {L"y верхний левый", L"y координата верхнего левого угла окна меню", "user_menu_pos_TL_Y",
     &Options::user_menu_pos_TL_Y},
    {L"x нижний правый", L"x координата нижнего правого угла окна меню", "user_menu_pos_BR_X",
     &Options::user_menu_pos_BR_X},
    {L"y нижний правый", L"y координата нижнего правого угла окна меню", "user_menu_pos_BR_Y",
     &Options::user_menu_pos_BR_Y},
}};

const wchar_t* YesNo(bool value) { return value ? kYes : kNo; }

const wchar_t* TextPositionChoice(BYTE code) {
    switch (code) {
        case 1:
            return kLeft;
        case 2:
            return kRight;
        default:
            return kCentre;
    }
}

std::wstring DecimalText(std::int32_t value) {
    const std::string text = FormatDecimal(value);
    return std::wstring(text.begin(), text.end());
}

std::wstring AboutText() {
    return L"Tavrel Settings, версия 1.0\r\n"
           L"редактор внешнего вида меню Tavrel\r\n"
           L"правит options.ini, который меню читает при запуске\r\n"
           L"файлы: " +
           ProgramFolder();
}

constexpr const wchar_t* kThanksText =
    L"SDL2: окна, касания и клавиши\r\n"
    L"FreeType и fontconfig: шрифты и текст\r\n"
    L"libpng и librsvg: значки программ";

// The "да"/"нет" choice of a node as options.ini stores it.
const char* BooleanText(const CSPMobTreeItem& item) {
    return item.value == kYes ? "true" : "false";
}

const char* TextPositionKeyText(const std::wstring& value) {
    if (value == kLeft) return "left";
    if (value == kRight) return "right";
    return "center";
}

}  // namespace

void CTavrelSettingsDlg::AttachDescription(const wchar_t* text, CSPMobTreeItem* item) {
    if (item == nullptr) return;
    descriptions_.push_back(std::make_unique<std::wstring>(text != nullptr ? text : L""));
    item->userData = descriptions_.back().get();
}

void CTavrelSettingsDlg::BuildTree() {
    // Adds a node and gives it its description; null only if the tree refused it.
    const auto add = [this](const wchar_t* label, const wchar_t* value, int kind, int parentId,
                            const wchar_t* text) {
        const int id = tree.AddItem(label, value, kind, parentId);
        CSPMobTreeItem* item = tree.FindItem(id);
        AttachDescription(text, item);
        return std::pair{id, item};
    };
    // A "да"/"нет" node; `dependency` makes it a "system" choice that greys out its children.
    const auto addYesNo = [this, &add](const wchar_t* label, bool value, int parentId,
                                       const wchar_t* text, bool dependency) {
        auto [id, item] = add(label, YesNo(value), CSPMobTree::kListItem, parentId, text);
        auto* choice = dynamic_cast<CComboBoxItem*>(item);
        if (choice != nullptr) {
            choice->AddChoice(kYes);
            choice->AddChoice(kNo);
            choice->SetCurrentChoice(YesNo(value));
            if (dependency) {
                dependencies.push_back(
                    std::make_unique<Dependency>(Dependency{choice, kEnablingText}));
            }
        }
        return id;
    };
    const auto setDisabled = [](CSPMobTreeItem* item, bool disabled) {
        if (item != nullptr) item->disabled = disabled;
    };

    const int root = add(L"свойства", L"", -1, -1,
                         L"элемент и его дочерние элементы предоставляют вам возможность "
                         L"редактировать основные свойства приложения")
                         .first;

    const int colors = addYesNo(kSystemColors, options.use_system_colors, root,
                                L"программа использует системные цвета для прорисовки фона "
                                L"элементов меню",
                                true);
    for (const ColorRow& row : kColorRows) {
        auto [id, item] = add(row.label, L"", CSPMobTree::kColorItem, colors, row.description);
        auto* colorItem = dynamic_cast<CColorItem*>(item);
        if (colorItem == nullptr) continue;
        const ColorTriple& color = options.*row.field;
        colorItem->SetColor(color.red, color.green, color.blue);
        setDisabled(colorItem, options.use_system_colors);
    }

    const int font = addYesNo(kSystemFont, options.use_system_font, root,
                              L"программа использует шрифт по умолчанию для вывода названия "
                              L"элементов меню",
                              true);
    if (auto* fontItem = dynamic_cast<CFontItem*>(
            add(kUserFont, L"", CSPMobTree::kFontItem, font, L"шрифт вывода задается пользователем")
                .second)) {
        const FontValue& value = options.item_font;
        fontItem->SetFont(value.faceName.c_str(), value.size, value.bold, value.italic);
        setDisabled(fontItem, options.use_system_font);
    }

    const int height = addYesNo(kSystemItemHeight, options.use_system_item_height, root,
                                L"программа автоматически высчитывает высоту элемента меню в "
                                L"зависимости от разрешения экрана",
                                true);
    setDisabled(
        add(kUserItemHeight, DecimalText(options.user_item_height).c_str(), CSPMobTree::kTextItem,
            height, L"пользователь сам определяет высоту элемента меню")
            .second,
        options.use_system_item_height);

    const int menuPos =
        addYesNo(kSystemMenuPos, options.use_system_menu_pos, root,
                 L"система определяет расположение окна с меню автоматически", true);
    for (const NumberRow& row : kMenuPosRows) {
        setDisabled(add(row.label, DecimalText(options.*row.field).c_str(), CSPMobTree::kTextItem,
                        menuPos, row.description)
                        .second,
                    options.use_system_menu_pos);
    }

    const wchar_t* position = TextPositionChoice(options.pos_item_text);
    if (auto* choice = dynamic_cast<CComboBoxItem*>(
            add(kTextPosition, position, CSPMobTree::kListItem, root,
                L"позиция текста элемента, можно прижать влево, вправо и расположить по центру")
                .second)) {
        choice->AddChoice(kCentre);
        choice->AddChoice(kLeft);
        choice->AddChoice(kRight);
        choice->SetCurrentChoice(position);
    }
    addYesNo(kInertia, options.use_menu_inertia, root,
             L"использовать инерцию в процессе движения меню", false);

    add(L"о программе", L"", -1, -1, AboutText().c_str());
    add(L"благодарности", L"", -1, -1, kThanksText);
}

LRESULT CTavrelSettingsDlg::OnItemChanged(WPARAM wParam, LPARAM /*lParam*/) {
    const auto* item = reinterpret_cast<const CSPMobTreeItem*>(wParam);
    for (const auto& dependency : dependencies) {
        if (dependency->item != item) continue;
        const bool disable = item->value != dependency->enablingText;
        for (const auto& child : item->children) {
            child->disabled = disable;
            child->RefreshRow(false);
        }
        return 0;
    }
    return 0;
}

void CTavrelSettingsDlg::BuildOptionsDocument(IniDocument& document) {
    if (CSPMobTreeItem* current = tree.GetCurrentItem()) current->EndEdit();

    const char* section = kOptionsSection;
    // A "system" node with its rows: the rows are looked for beneath it, or anywhere when the
    // node itself is missing.
    const auto findUnder = [this](const CSPMobTreeItem* system, const wchar_t* label) {
        return tree.FindItemByLabel(label, system);
    };
    const auto setBoolean = [&document, section](const CSPMobTreeItem* item, const char* key) {
        if (item != nullptr) IniSetValue(document, section, key, BooleanText(*item), TRUE);
    };
    const auto setNumber = [&document, section](const CSPMobTreeItem* item, const char* key) {
        if (item != nullptr)
            IniSetInt(document, section, key, ParseDecimal(item->value.c_str()), TRUE);
    };

    const CSPMobTreeItem* colors = tree.FindItemByLabel(kSystemColors, nullptr);
    setBoolean(colors, "use_system_colors");
    for (const ColorRow& row : kColorRows) {
        const auto* item = dynamic_cast<const CColorItem*>(findUnder(colors, row.label));
        if (item == nullptr) continue;
        ColorTriple color;
        item->GetColor(color.red, color.green, color.blue);
        IniSetColor(document, color, row.keyPrefix, section);
    }

    const CSPMobTreeItem* font = tree.FindItemByLabel(kSystemFont, nullptr);
    setBoolean(font, "use_system_font");
    if (const auto* item = dynamic_cast<const CFontItem*>(findUnder(font, kUserFont))) {
        FontValue value;
        int size = 0;
        item->GetFont(value.faceName, size, value.bold, value.italic);
        value.size = size;
        IniSetFont(document, value, "item_font", section);
    }

    const CSPMobTreeItem* height = tree.FindItemByLabel(kSystemItemHeight, nullptr);
    setBoolean(height, "use_system_item_height");
    setNumber(findUnder(height, kUserItemHeight), "user_item_height");

    const CSPMobTreeItem* menuPos = tree.FindItemByLabel(kSystemMenuPos, nullptr);
    setBoolean(menuPos, "use_system_menu_pos");
    for (const NumberRow& row : kMenuPosRows) setNumber(findUnder(menuPos, row.label), row.key);

    if (const CSPMobTreeItem* position = tree.FindItemByLabel(kTextPosition, nullptr)) {
        IniSetValue(document, section, "pos_item_text", TextPositionKeyText(position->value), TRUE);
    }
    setBoolean(tree.FindItemByLabel(kInertia, nullptr), "use_menu_inertia");
}

bool CTavrelSettingsDlg::SaveOptions() {
    IniDocument document;
    BuildOptionsDocument(document);
    const bool written = IniWrite(document, OptionsPath());
    IniFree(document);
    return written;
}

bool CTavrelSettingsDlg::OptionsChanged() {
    IniDocument edited;
    BuildOptionsDocument(edited);
    IniDocument read;
    FillOptionsDocument(options, read);
    const bool changed = IniFormat(edited) != IniFormat(read);
    IniFree(edited);
    IniFree(read);
    return changed;
}
