// CHBData: the scene object table over its PVAData tree.
#include "render/hb_data.h"

#include <algorithm>

namespace brumil::render {

namespace {

constexpr std::string_view kBanner = "HarbeskData";
constexpr std::string_view kVersion = "HarbeskData 1.0";
constexpr Long kObjectTexts = 10;
constexpr Long kObjectNumbers = 40;

// The node the field properties see when the active index is outside the
// table: blank, and belonging to no table.
std::string LooseNodeText() {
    PVAData loose;
    loose.DataCount(kObjectTexts);
    loose.NumberCount(kObjectNumbers);
    return loose.strData();
}

}  // namespace

CHBData::CHBData() : root_(std::make_unique<PVAData>()) {
    Reset();
}

CHBData::~CHBData() = default;

void CHBData::Reset() {
    root_ = std::make_unique<PVAData>();
    root_->DataCount(2);
    root_->Data(0, kBanner);
    root_->Data(1, kVersion);
}

std::string CHBData::PVASetStrData(std::string_view text) {
    root_->strData(text);
    const std::string banner = root_->Data(0);
    if (banner == kBanner) return "";
    Reset();
    return "未知の形式\r\n" + banner + "\r\nはサポートされていません";
}

std::string CHBData::PVAGetStrData() const {
    return root_->strData();
}

void CHBData::ActiveName(std::string_view name) {
    for (Long i = 0; i < GetCount(); ++i) {
        if (root_->Child(i)->Data(0) == name) {
            active_ = i;
            return;
        }
    }
    active_ = -1;
}

PVAData* CHBData::ObjectNode() const {
    return root_->Child(active_);
}

std::string CHBData::ObjectText(Long index) const {
    const PVAData* node = root_->Child(index);
    return node ? node->strData() : LooseNodeText();
}

void CHBData::ObjectAdd() {
    root_->ChildCount(GetCount() + 1);
}

void CHBData::ObjectAddInsert(Long& index) {
    index = std::clamp<Long>(index, 0, GetCount());
    root_->ChildCount(GetCount() + 1);
    for (Long j = GetCount() - 2; j >= index; --j) {
        root_->Child(j + 1)->strData(root_->Child(j)->strData());
    }
}

void CHBData::ObjectInit(Long index, std::string_view name) {
    active_ = index;
    ObjectInitDefaults(name);
}

void CHBData::ObjectInitDefaults(std::string_view name) {
    PVAData* node = ObjectNode();
    if (!node) return;
    node->DataCount(kObjectTexts);
    node->NumberCount(kObjectNumbers);
    node->Data(0, name);
    struct Default {
        Long slot;
        double value;
    };
    static constexpr Default kDefaults[] = {
        {0, 1},  {1, 0},  {2, 0},  {3, 0},    {4, 0},  {5, 0},    {6, 0},  {7, 1},
        {8, 1},  {9, 1},  {10, 0}, {11, 0},   {12, 0}, {13, 0},   {14, 1}, {15, 30},
        {19, 1}, {20, 1}, {21, 1}, {24, 112}, {27, 0}, {28, 255}, {29, 1}};
    for (const Default& d : kDefaults) node->Number(d.slot, d.value);
}

void CHBData::ObjectInitDuplicate(Long index, std::string_view sourceName,
                                  std::string_view newName) {
    ActiveName(sourceName);
    const std::string text = ObjectText(active_);
    active_ = index;
    PVAData* node = ObjectNode();
    if (!node) return;
    node->strData(text);
    node->Data(0, newName);
}

bool CHBData::TestUniName(std::string_view name) const {
    for (Long i = 0; i < GetCount(); ++i) {
        if (root_->Child(i)->Data(0) == name) return false;
    }
    return true;
}

void CHBData::ObjectRemove(Long index) {
    const Long count = GetCount();
    if (index < 0) index = 0;
    if (index > count - 1) index = count - 1;
    for (Long j = index; j >= 0 && j <= count - 2; ++j) {
        root_->Child(j)->strData(root_->Child(j + 1)->strData());
    }
    root_->ChildCount(std::max<Long>(count - 1, 0));
}

void CHBData::ObjectRemoveName(std::string_view name) {
    for (Long i = 0; i < GetCount(); ++i) {
        if (root_->Child(i)->Data(0) == name) {
            ObjectRemove(i);
            return;
        }
    }
}

std::string CHBData::Text(Long slot) const {
    const PVAData* node = ObjectNode();
    return node ? node->Data(slot) : std::string();
}

void CHBData::SetText(Long slot, std::string_view v) {
    if (PVAData* node = ObjectNode()) node->Data(slot, v);
}

Long CHBData::LongAt(Long slot) const {
    const PVAData* node = ObjectNode();
    return node ? RoundToLong(node->Number(slot)) : 0;
}

Single CHBData::SingleAt(Long slot) const {
    const PVAData* node = ObjectNode();
    return node ? static_cast<Single>(node->Number(slot)) : 0.0f;
}

void CHBData::SetNumber(Long slot, double v) {
    if (PVAData* node = ObjectNode()) node->Number(slot, v);
}

void CHBData::Number(Long index, Single v) {
    if (index >= 0 && index <= 11) SetNumber(index + 1, v);
}

Single CHBData::Number(Long index) const {
    return index >= 0 && index <= 11 ? SingleAt(index + 1) : 0.0f;
}

}  // namespace brumil::render
