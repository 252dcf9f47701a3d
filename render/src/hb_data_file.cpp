// CHBDataFile: the scene file of three object tables and its settings.
#include "render/hb_data_file.h"

namespace brumil::render {

namespace {

constexpr Long kTableSlots = 4;  // the banner and the three tables

}  // namespace

CHBDataFile::CHBDataFile() : root_(std::make_unique<PVAData>()) {
    static constexpr std::string_view kTexts[10] = {
        "HBDFileVersion 1.0", "", "", "", "lightning", "rain", "", "", "", ""};
    static constexpr double kNumbers[10] = {0, 0, 1, 1, 0, 0, 0, 0, 0, 0};
    root_->DataCount(10);
    root_->NumberCount(10);
    for (Long i = 0; i < 10; ++i) {
        root_->Data(i, kTexts[i]);
        root_->Number(i, kNumbers[i]);
    }
}

CHBDataFile::~CHBDataFile() = default;

void CHBDataFile::strData(std::string_view text) {
    root_->strData(text);
    objects_.PVASetStrData(root_->Data(1));
    land_.PVASetStrData(root_->Data(2));
    backScreen_.PVASetStrData(root_->Data(3));
}

std::string CHBDataFile::strData() {
    if (root_->DataCount() < kTableSlots) root_->DataCount(kTableSlots);
    root_->Data(1, objects_.PVAGetStrData());
    root_->Data(2, land_.PVAGetStrData());
    root_->Data(3, backScreen_.PVAGetStrData());
    return root_->strData();
}

}  // namespace brumil::render
