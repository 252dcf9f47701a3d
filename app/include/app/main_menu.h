#pragma once
// The main window's menu as data: the menus of the bar, their items with
// captions, checks and enabled states, and which control each item is. The
// bar in window mode and the overlay in full screen are both drawn from this
// one model by the user-interface layer, which reports clicks back as
// (control, index); the menu's behaviour is TheApp's (the_app_menu.cpp).

#include <string>
#include <string_view>
#include <vector>

#include "core/vb_types.h"

namespace brumil::app {

// The menu controls of the window; an item of a control array also has an
// index (the device and volume items).
enum class MenuControl {
    FullScreenMode,  // zフルスクリーンモード
    WindowMode,      // zウィンドウモード
    ScreenModeBar,   // zスクリーンモード変更 (9): separator
    DeviceChange,    // zデバイス変更 (0..3, 10)
    Volume,          // z音量調節 (0..5)
    KeyConfig,       // zキーコンフィグ
    NetworkSetup,    // z通信対戦のセットアップ
    ChatSend,        // zチャット送信
    SystemBar,       // zシステム: separator
    BackToStart,     // zスタートメニューに戻る
    Exit,            // z終了
};

struct MenuItem {
    MenuControl control;
    Long index = -1;  // the control-array index; -1 for a single control
    std::string caption;
    bool separator = false;
    bool checked = false;
    bool enabled = true;
};

struct MenuTop {
    std::string caption;
    bool enabled = true;
    std::vector<MenuItem> items;
};

// The three menus of the bar.
inline constexpr std::string_view kScreenMenu = "画面設定";
inline constexpr std::string_view kVolumeMenu = "音量";
inline constexpr std::string_view kSystemMenu = "システム";

class MainMenuModel {
public:
    // The bar in its order, nothing checked, everything enabled.
    MainMenuModel();

    const std::vector<MenuTop>& Menus() const { return menus_; }
    // The item of a control (and index); nothing when there is none.
    MenuItem* Find(MenuControl control, Long index = -1);
    const MenuItem* Find(MenuControl control, Long index = -1) const;
    // The menu of that caption; nothing when there is none.
    MenuTop* Top(std::string_view caption);
    const MenuTop* Top(std::string_view caption) const;

    void SetChecked(MenuControl control, Long index, bool checked);
    void SetTopEnabled(std::string_view caption, bool enabled);

    // Every caption of the bar (menus and items), for building the glyph set
    // of the font the bar is drawn with.
    std::string AllCaptions() const;

private:
    std::vector<MenuTop> menus_;
};

}  // namespace brumil::app
