#include "app/main_menu.h"

namespace brumil::app {

namespace {

MenuItem Item(MenuControl control, Long index, std::string caption) {
    return MenuItem{control, index, std::move(caption)};
}

MenuItem Separator(MenuControl control, Long index) {
    MenuItem item{control, index, ""};
    item.separator = true;
    return item;
}

}  // namespace

MainMenuModel::MainMenuModel() {
    using C = MenuControl;
    menus_.push_back(
        MenuTop{std::string(kScreenMenu),
                true,
                {
                    Item(C::FullScreenMode, -1, "フルスクリーンモード"),
                    Item(C::WindowMode, -1, "ウィンドウモード"),
                    Separator(C::ScreenModeBar, 9),
                    Item(C::DeviceChange, 0, "デバイスを変更 - 画質を優先 XGAモード 1024x768"),
                    Item(C::DeviceChange, 1, "デバイスを変更 - 画質を優先"),
                    Item(C::DeviceChange, 2, "デバイスを変更 - 処理速度を優先"),
                    Item(C::DeviceChange, 3, "デバイスを変更 - 処理速度を特に優先"),
                    Item(C::DeviceChange, 10, "デバイスを変更 - 詳細設定"),
                }});
    menus_.push_back(MenuTop{std::string(kVolumeMenu),
                             true,
                             {
                                 Item(C::Volume, 0, "5"),
                                 Item(C::Volume, 1, "4"),
                                 Item(C::Volume, 2, "3"),
                                 Item(C::Volume, 3, "2"),
                                 Item(C::Volume, 4, "1"),
                                 Item(C::Volume, 5, "消音"),
                             }});
    menus_.push_back(MenuTop{std::string(kSystemMenu),
                             true,
                             {
                                 Item(C::KeyConfig, -1, "キーコンフィグ"),
                                 Item(C::NetworkSetup, -1, "通信対戦のセットアップ"),
                                 Item(C::ChatSend, -1, "チャット送信 [F5]"),
                                 Separator(C::SystemBar, -1),
                                 Item(C::BackToStart, -1, "スタートメニューに戻る [F1]"),
                                 Item(C::Exit, -1, "ゲーム終了"),
                             }});
}

MenuItem* MainMenuModel::Find(MenuControl control, Long index) {
    for (MenuTop& top : menus_) {
        for (MenuItem& item : top.items) {
            if (item.control == control && item.index == index) return &item;
        }
    }
    return nullptr;
}

const MenuItem* MainMenuModel::Find(MenuControl control, Long index) const {
    return const_cast<MainMenuModel*>(this)->Find(control, index);
}

MenuTop* MainMenuModel::Top(std::string_view caption) {
    for (MenuTop& top : menus_) {
        if (top.caption == caption) return &top;
    }
    return nullptr;
}

const MenuTop* MainMenuModel::Top(std::string_view caption) const {
    return const_cast<MainMenuModel*>(this)->Top(caption);
}

void MainMenuModel::SetChecked(MenuControl control, Long index, bool checked) {
    if (MenuItem* item = Find(control, index)) item->checked = checked;
}

void MainMenuModel::SetTopEnabled(std::string_view caption, bool enabled) {
    if (MenuTop* top = Top(caption)) top->enabled = enabled;
}

std::string MainMenuModel::AllCaptions() const {
    std::string text;
    for (const MenuTop& top : menus_) {
        text += top.caption;
        for (const MenuItem& item : top.items) text += item.caption;
    }
    return text;
}

}  // namespace brumil::app
