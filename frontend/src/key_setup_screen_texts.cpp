// The key set-up screen's texts and layout lines. Layout lines are
// "index, X, Y, width, height, enabled, caption"; index -1 appends.
#include <array>
#include <string_view>

#include "framework/input_codes.h"
#include "frontend/key_setup_screen.h"

namespace brumil::frontend {
namespace {

constexpr std::string_view kNoControllerHeading = "・コントローラーが接続されていません";

constexpr std::array<std::string_view, 5> kButtonLabels = {
    " -1,160, 30,500, 30,1,ショット (決定ボタン)",
    " -1,160, 60,500, 30,1,炸裂ショット (キャンセルボタン)",
    " -1,160, 90,500, 30,1,ボム",
    " -1,160,120,500, 30,1,スペシャル",
    " -1,160,150,500, 30,1,ルナティックアート",
};
constexpr std::array<std::string_view, 4> kDirectionLabels = {
    " -1,160,210,500, 30,1,上",
    " -1,160,240,500, 30,1,下",
    " -1,160,270,500, 30,1,左",
    " -1,160,300,500, 30,1,右",
};

// Name rows: buttons 1 to 5, then (keyboard page) Up, Down, Left, Right.
constexpr std::array<std::string_view, 5> kButtonNameRows = {
    " -1, 30, 30,120, 30,1,", " -1, 30, 60,120, 30,1,", " -1, 30, 90,120, 30,1,",
    " -1, 30,120,120, 30,1,", " -1, 30,150,120, 30,1,",
};
constexpr std::array<std::string_view, 4> kDirectionNameRows = {
    " -1, 30,210,120, 30,1,",
    " -1, 30,240,120, 30,1,",
    " -1, 30,270,120, 30,1,",
    " -1, 30,300,120, 30,1,",
};

constexpr std::array<std::string_view, 10> kKeyboardItems = {
    "  0,150, 75,350, 28,1,#ショット",
    "  1,150,105,350, 28,1,#チャージ",
    "  2,150,135,350, 28,1,#ボム",
    "  3,150,165,350, 28,1,#バリエーション",
    "  4,150,195,350, 28,1,#ルナティックアーツ",
    "  6,160,255,500, 30,1,#上",
    "  7,160,285,500, 30,1,#下",
    "  8,160,315,500, 30,1,#左",
    "  9,160,345,500, 30,1,#右",
    " 11,170,395,300, 50,1,#決定",
};
constexpr std::array<std::string_view, 5> kPadButtonItems = {
    "  0,150,120,350, 28,1,#ショット",
    "  1,150,150,350, 28,1,#チャージ",
    "  2,150,180,350, 28,1,#ボム",
    "  3,150,210,350, 28,1,#バリエーション",
    "  4,150,240,350, 28,1,#ルナティックアーツ",
};
constexpr std::string_view kPageItem = " 10,150,330,350, 28,1,#コントローラー２";
constexpr std::string_view kDecideItem = " 11,170,395,300, 50,1,#決定";

constexpr std::string_view kPageLineHead = " -1,  0,  0,500, 30,1,・";
constexpr std::string_view kPageNameLineHead = " -1,160,240,500, 30,1,";

std::string PageTitle(Long joysticks, Long page) {
    if (joysticks <= 0) return "キーボードの設定";
    if (joysticks == 1) return "コントローラーの設定";
    return page == 0 ? "コントローラー１の設定" : "コントローラー２の設定";
}

std::string Join(std::string_view head, std::string_view tail) {
    std::string line(head);
    line += tail;
    return line;
}

}  // namespace

Long KeySetupEntryOfItem(Long item) {
    if (item >= 0 && item <= 5) return item;
    if (item >= 6 && item <= 9) return item + (framework::kAssignUp - 6);
    return -1;
}

bool KeySetupRecordComplete(const framework::KeyAssignRecord& record, Long joysticks) {
    for (int i = 0; i < 5; ++i) {
        if (record[static_cast<std::size_t>(i)] == 0) return false;
    }
    if (joysticks <= 0) {
        for (int i = framework::kAssignUp; i <= framework::kAssignRight; ++i) {
            if (record[static_cast<std::size_t>(i)] == 0) return false;
        }
    }
    return true;
}

Long KeySetupRowOffset(Long joysticks) {
    return joysticks <= 0 ? 45 : 90;
}

std::string KeySetupHeadingLine(Long joysticks) {
    return Join(" -1,  0,  0,500, 0,1,", joysticks <= 0 ? kNoControllerHeading : "");
}

std::vector<std::string> KeySetupLabelLines(Long joysticks, Long page) {
    std::vector<std::string> lines;
    lines.push_back(Join(kPageLineHead, PageTitle(joysticks, page)));
    for (std::string_view l : kButtonLabels) lines.emplace_back(l);
    if (joysticks <= 0) {
        for (std::string_view l : kDirectionLabels) lines.emplace_back(l);
    }
    return lines;
}

std::string KeySetupPageNameLine(Long joysticks, Long page) {
    if (joysticks < 2) return {};
    return Join(kPageNameLineHead, PageTitle(joysticks, page));
}

std::vector<std::string> KeySetupNameLines(Long joysticks,
                                           const framework::KeyAssignRecord& record) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < kButtonNameRows.size(); ++i) {
        lines.push_back(Join(kButtonNameRows[i], framework::GetInputCodeShortName(record[i])));
    }
    if (joysticks <= 0) {
        for (std::size_t i = 0; i < kDirectionNameRows.size(); ++i) {
            const Long code = record[framework::kAssignUp + i];
            lines.push_back(Join(kDirectionNameRows[i], framework::GetInputCodeShortName(code)));
        }
    }
    return lines;
}

std::vector<std::string> KeySetupItemLines(Long joysticks) {
    std::vector<std::string> lines;
    if (joysticks <= 0) {
        for (std::string_view l : kKeyboardItems) lines.emplace_back(l);
        return lines;
    }
    for (std::string_view l : kPadButtonItems) lines.emplace_back(l);
    if (joysticks >= 2) lines.emplace_back(kPageItem);
    lines.emplace_back(kDecideItem);
    return lines;
}

}  // namespace brumil::frontend
