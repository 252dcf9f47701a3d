// The settings dialogs joined to the front end's jobs and the menu overlay.
#include "app/settings_dialogs_ui.h"

#include "app/dialog_text.h"
#include "app/graphics_config_dialog.h"
#include "app/key_config_dialog.h"
#include "app/main_window_ui.h"
#include "app/overlay_font_file.h"
#include "core/api_form.h"
#include "platform/ui/graphics_dialog_view.h"
#include "platform/ui/key_dialog_view.h"
#include "shell_service_job_host.h"

namespace brumil::app {

namespace {

// The face and pixel size CApi::SetupForm gave a dialog's window.
platform::OverlayFont FontOf(const DialogWindow& form, std::string glyphs) {
    platform::OverlayFont font;
    font.file = OverlayFontFile(form.FontName(), font.index);
    font.size = float(core::FontPixelsOfPoints(form.FontPoints()));
    font.glyphs = std::move(glyphs);
    return font;
}

// Every character the dialogs' fixed texts use.
std::string DialogGlyphs() {
    std::string glyphs = std::string(kGraphicsConfigCaption) + std::string(kKeyConfigCaption) +
                         std::string(kKeyConfigLabel1) + std::string(kKeyConfigLabel2) +
                         std::string(kAuxiliaryCaption) + std::string(kCommandOKCaption) +
                         std::string(kCommandCancelCaption) + "↑↓←→";
    for (const GraphicsGroupText& group : GraphicsConfigGroups()) {
        glyphs += group.frameCaption;
        for (const GraphicsOptionText& option : group.options) {
            glyphs += option.caption;
            glyphs += option.help;
        }
    }
    for (const KeyRowText& row : KeyConfigRows()) glyphs += row.caption;
    return glyphs;
}

// The part of a view's frame every dialog fills alike; false when the dialog
// is not on show (nothing else is then described).
template <class Dialog>
bool DescribeHead(const Dialog& dialog, platform::OverlayDialogHead& head) {
    head.visible = dialog.Visible();
    if (!head.visible) return false;
    Long x = 0, y = 0;
    head.placed = dialog.Placement(x, y);
    head.screenX = x;
    head.screenY = y;
    head.caption = dialog.Caption();
    head.ok = dialog.CommandOKCaption();
    head.cancel = dialog.CommandCancelCaption();
    return true;
}

class GraphicsAdapter final : public platform::GraphicsDialogClient {
public:
    explicit GraphicsAdapter(frmGraphicsConfig& dialog) : d_(dialog) {}

    platform::GraphicsDialogFrame Describe() override {
        platform::GraphicsDialogFrame f;
        if (!DescribeHead(d_, f)) return f;
        for (int g = 0; g < kGraphicsGroupCount; ++g) {
            const auto group = GraphicsGroup(g);
            platform::GraphicsDialogGroup view;
            view.frameCaption = d_.FrameCaption(group);
            for (Long i = 0; i < d_.OptionCount(group); ++i)
                view.options.push_back(d_.OptionCaption(group, i));
            view.selected = d_.Selected(group);
            f.groups.push_back(std::move(view));
        }
        f.help = d_.Label1();
        return f;
    }
    void OptionClicked(int group, int option) override {
        if (group >= 0 && group < kGraphicsGroupCount)
            d_.Option_Click(GraphicsGroup(group), option);
    }
    void PointerOverOption(int group, int option) override {
        if (group >= 0 && group < kGraphicsGroupCount)
            d_.Option_MouseMove(GraphicsGroup(group), option);
    }
    void PointerOverFreeArea() override { d_.Form_MouseMove(); }
    void OkClicked() override { d_.CommandOK_Click(); }
    void CancelClicked() override { d_.CommandCancel_Click(); }
    void CloseBoxClicked() override { d_.Form_Close(); }

private:
    frmGraphicsConfig& d_;
};

class KeyAdapter final : public platform::KeyDialogClient {
public:
    explicit KeyAdapter(frmKeyConfig& dialog) : d_(dialog) {}

    platform::KeyDialogFrame Describe() override {
        platform::KeyDialogFrame f;
        if (!DescribeHead(d_, f)) return f;
        f.player1 = d_.Label1();
        f.player2 = d_.Label2();
        for (Long i = 0; i < kKeyOptionCount; ++i) {
            f.options.push_back(d_.OptionCaption(i));
            f.enabled.push_back(frmKeyConfig::OptionEnabled(i));
        }
        for (Long row = 0; row < kKeyRowCount; ++row) f.labels.push_back(d_.LabelPlayer1(row));
        f.selected = d_.GetSelectedRow();
        f.okFocused = d_.FocusedControl() == frmKeyConfig::Focus::CommandOK;
        return f;
    }
    void OptionClicked(int option) override { d_.OptionPlayer1_Click(option); }
    void OkClicked() override { d_.CommandOK_Click(); }
    void CancelClicked() override { d_.CommandCancel_Click(); }
    void CloseBoxClicked() override { d_.Form_Close(); }

private:
    frmKeyConfig& d_;
};

class Attachment final : public SettingsDialogsAttachment {
public:
    explicit Attachment(platform::MenuOverlay* overlay) : overlay_(overlay) {
        SetSettingsDialog(frontend::kKeyDialogJob, &keys_);
        SetSettingsDialog(frontend::kGraphicsDialogJob, &graphics_);
        if (overlay_ == nullptr) return;
        // Placing a dialog keeps it inside the screen.
        int screenWidth = 0, screenHeight = 0;
        overlay_->ScreenSize(screenWidth, screenHeight);
        graphics_.Form().SetScreenSize(screenWidth, screenHeight);
        keys_.Form().SetScreenSize(screenWidth, screenHeight);
        const std::string glyphs = DialogGlyphs();
        graphicsView_ =
            platform::MakeGraphicsDialogView(graphicsAdapter_, FontOf(graphics_.Form(), glyphs));
        keyView_ = platform::MakeKeyDialogView(keyAdapter_, FontOf(keys_.Form(), glyphs));
        overlay_->AddWindow(*graphicsView_);
        overlay_->AddWindow(*keyView_);
    }

    ~Attachment() override {
        keys_.Form_Close();
        graphics_.Form_Close();
        if (overlay_ != nullptr) {
            overlay_->RemoveWindow(*keyView_);
            overlay_->RemoveWindow(*graphicsView_);
        }
        SetSettingsDialog(frontend::kKeyDialogJob, nullptr);
        SetSettingsDialog(frontend::kGraphicsDialogJob, nullptr);
    }

    frmGraphicsConfig& GraphicsConfig() override { return graphics_; }
    frmKeyConfig& KeyConfig() override { return keys_; }

private:
    platform::MenuOverlay* overlay_;
    frmGraphicsConfig graphics_;
    frmKeyConfig keys_;
    GraphicsAdapter graphicsAdapter_{graphics_};
    KeyAdapter keyAdapter_{keys_};
    std::unique_ptr<platform::OverlayWindow> graphicsView_;
    std::unique_ptr<platform::OverlayWindow> keyView_;
};

}  // namespace

std::unique_ptr<SettingsDialogsAttachment> AttachSettingsDialogs() {
    return std::make_unique<Attachment>(PlatformServiceJobHost().overlay);
}

}  // namespace brumil::app
