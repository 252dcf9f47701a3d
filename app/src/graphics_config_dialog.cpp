#include "app/graphics_config_dialog.h"

#include <iterator>

#include "app/dialog_text.h"
#include "app/save_files.h"
#include "core/api.h"

namespace brumil::app {

namespace {

constexpr GraphicsOptionText kRender[] = {
    {"32bitcolor ハードウェアレンダリング　(標準設定)",
     "色の範囲を約1600万色で表示します。：標準設定です。"},
    {"16bitcolor ハードウェアレンダリング",
     "色の範囲を約6万色で表示します。：：少し高速に動作できます。：ほとんどの場合、ディザ表示になる"
     "ので、：違和感もほとんどありません。"},
    {"ソフトウェアレンダリング",
     "ソフトウェアレンダリングを使用します。：：グラフィックカードの３Ｄ機能を一切使用しません。:"
     "グラフィックカードに依存しなくなりますが、ほとんどの場合は遅い動作になります：グラフィックカ"
     "ードの性能が極端に低い場合はこの設定にして下さい"},
};

constexpr GraphicsOptionText kDisplaySize[] = {
    {"640 x 480 標準 (標準設定)", "画面解像度を640x480にします。：標準設定です。"},
    {"320 x 240 低解像度",
     "画面解像度を320x240にします。：：とても高速に動作できますが：画面が粗くなり、見づらいです："},
    {"1024 x 768 高解像度",
     "画面解像度を1024x768にします。：：画質は向上しますが：高性能なマシンでなければ動作しません"
     "："},
};

constexpr GraphicsOptionText kTexture[] = {
    {"RGBA 8888 (標準設定)", "すべての色を使ってテクスチャーを作成します。：標準設定です。"},
    {"RGBA 4444",
     "4096色でテクスチャーを作成します。：：高速に動作できますが、テクスチャーの色数を落とすとディ"
     "ザ効果も期待できないので、かなり画質が落ちます。"},
};

constexpr GraphicsOptionText kVSink[] = {
    {"厳密な同期 (標準設定)", "ScanLineで厳密に同期します。：標準設定です。"},
    {"単純な同期",
     "ScanLineで単純に同期します。：：厳密に同期するよりも動作が遅くなり、テアリングイメージが発生"
     "しやすくなります。：厳密に同期すると表示が崩れる場合にのみ設定にして下さい"},
    {"非同期",
     "同期しません。：：動作は速くなりますが。：テアリングイメージが頻繁に発生します：ゲームには向"
     "かない設定です。"},
};

constexpr GraphicsOptionText kZBuffer[] = {
    {"作成しない (標準設定)", "Ｚバッファを作成しません。：標準設定です。"},
    {"作成する",
     "Ｚバッファを作成します。：：作成するとビデオメモリを消費します。：デバイスによっては作成しな"
     "いと崩れた表示になります：必要に応じて作成してください："},
};

constexpr GraphicsGroupText kGroups[kGraphicsGroupCount] = {
    {"OptionRender", "レンダリング能力", kRender}, {"OptionDisplaySize", "解像度", kDisplaySize},
    {"OptionTexture", "テクスチャー", kTexture},   {"OptionVSink", "垂直帰線同期", kVSink},
    {"OptionZBuffer", "Zバッファ", kZBuffer},
};

// Option indexes the rules below name.
constexpr Long kRender32 = 0, kRender16 = 1, kRenderSoftware = 2;
constexpr Long kSize640 = 0, kSize320 = 1, kSize1024 = 2;
constexpr Long kVSinkStrict = 0, kVSinkSimple = 1, kVSinkNone = 2;

}  // namespace

std::span<const GraphicsGroupText, kGraphicsGroupCount> GraphicsConfigGroups() {
    return kGroups;
}

frmGraphicsConfig::frmGraphicsConfig(ConfigRecord& config, GraphicsConfigServices& services)
    : config_(config), services_(services) {
    // The view is made with the window's font before the first load.
    SetupDialogForm(window_);
}

frmGraphicsConfig::frmGraphicsConfig()
    : frmGraphicsConfig(gConfig(), PlatformGraphicsConfigServices()) {}

void frmGraphicsConfig::Form_Load() {
    SetupDialogForm(window_);
    window_.Load();
    caption_ = ColonLineBreaks(kGraphicsConfigCaption);
    okCaption_ = ColonLineBreaks(kCommandOKCaption);
    cancelCaption_ = ColonLineBreaks(kCommandCancelCaption);
    for (std::size_t g = 0; g < std::size(kGroups); ++g) {
        frameCaptions_[g] = ColonLineBreaks(kGroups[g].frameCaption);
        optionCaptions_[g].clear();
        for (const GraphicsOptionText& option : kGroups[g].options)
            optionCaptions_[g].push_back(ColonLineBreaks(option.caption));
    }
    ShowHelp("");
}

void frmGraphicsConfig::Place(Long x, Long y) {
    if (!window_.Loaded()) Form_Load();
    core::FormSetup at;
    at.x = x;
    at.y = y;
    core::gApi().SetupForm(window_, at);
}

void frmGraphicsConfig::Init() {
    if (!window_.Loaded()) Form_Load();
    const ConfigRecord& c = config_;
    Long render = kRender16;
    if (c.DeviceMode == 0) {
        render = kRenderSoftware;
    } else if (c.PixelBits == 32) {
        render = kRender32;
    }
    selected_[Index(GraphicsGroup::Render)] = render;
    selected_[Index(GraphicsGroup::Texture)] = c.Disable32BitTexture != 0 ? 1 : 0;
    selected_[Index(GraphicsGroup::ZBuffer)] = c.ZBuffer != 0 ? 1 : 0;
    Long size = kSize640;
    if (c.DisplaySize == 1) size = kSize320;
    if (c.DisplaySize == 2) size = kSize1024;
    selected_[Index(GraphicsGroup::DisplaySize)] = size;
    Long sync = kVSinkSimple;
    if ((c.WaitVsink & 1) == 0) {
        sync = kVSinkNone;
    } else if ((c.WaitVsink & 2) != 0) {
        sync = kVSinkStrict;
    }
    selected_[Index(GraphicsGroup::VSink)] = sync;
    IsOpen_ = true;
}

void frmGraphicsConfig::Show() {
    if (!window_.Loaded()) Form_Load();
    window_.Show();
}

const std::string& frmGraphicsConfig::FrameCaption(GraphicsGroup group) const {
    return frameCaptions_[Index(group)];
}

const std::string& frmGraphicsConfig::OptionCaption(GraphicsGroup group, Long index) const {
    static const std::string none;
    if (!ValidOption(group, index)) return none;
    return optionCaptions_[Index(group)][std::size_t(index)];
}

Long frmGraphicsConfig::OptionCount(GraphicsGroup group) const {
    return static_cast<Long>(kGroups[Index(group)].options.size());
}

bool frmGraphicsConfig::ValidOption(GraphicsGroup group, Long index) const {
    const int g = static_cast<int>(group);
    if (g < 0 || g >= kGraphicsGroupCount) return false;
    return index >= 0 && index < OptionCount(group) &&
           std::size_t(index) < optionCaptions_[Index(group)].size();
}

void frmGraphicsConfig::ShowHelp(std::string_view text) {
    label1_ = ColonLineBreaks(text);
}

std::vector<ConfigWrite> frmGraphicsConfig::OkWrites() const {
    const Long render = Selected(GraphicsGroup::Render);
    const Long size = Selected(GraphicsGroup::DisplaySize);
    const Long sync = Selected(GraphicsGroup::VSink);
    Long pixelBits = 24;
    if (render == kRender32) pixelBits = 32;
    if (render == kRender16) pixelBits = 16;
    Long waitVsink = 0;
    if (sync == kVSinkStrict) waitVsink = 3;
    if (sync == kVSinkSimple) waitVsink = 1;
    return {
        {"Disable32BitTexture", &ConfigRecord::Disable32BitTexture,
         Selected(GraphicsGroup::Texture) == 0 ? 0 : 1},
        {"DisplaySize", &ConfigRecord::DisplaySize,
         (size == kSize320 ? 1 : 0) | (size == kSize1024 ? 2 : 0)},
        {"DeviceMode", &ConfigRecord::DeviceMode,
         render == kRender32 || render == kRender16 ? 1 : 0},
        {"PixelBits", &ConfigRecord::PixelBits, pixelBits},
        {"WaitVsink", &ConfigRecord::WaitVsink, waitVsink},
        {"ZBuffer", &ConfigRecord::ZBuffer, Selected(GraphicsGroup::ZBuffer) == 0 ? 0 : 1},
        {"GraphicsAutomation", &ConfigRecord::GraphicsAutomation, kDetailedGraphicsPreset},
    };
}

void frmGraphicsConfig::Option_Click(GraphicsGroup group, Long index) {
    if (!Visible() || !ValidOption(group, index)) return;
    selected_[Index(group)] = index;
}

void frmGraphicsConfig::Option_MouseMove(GraphicsGroup group, Long index) {
    if (!ValidOption(group, index)) return;
    ShowHelp(kGroups[Index(group)].options[std::size_t(index)].help);
}

void frmGraphicsConfig::Form_MouseMove() {
    ShowHelp("");
}

void frmGraphicsConfig::CommandOK_Click() {
    if (!Visible()) return;
    for (const ConfigWrite& write : OkWrites()) config_.*write.member = write.value;
    services_.AddFrontEndJob(kApplyGraphicsJobNumber, kApplyGraphicsJobKind);
    services_.UpdateMainMenu();
    Unload();
}

void frmGraphicsConfig::CommandCancel_Click() {
    if (!Visible()) return;
    Unload();
}

void frmGraphicsConfig::Form_Close() {
    if (!window_.Loaded()) return;
    Unload();
}

void frmGraphicsConfig::Unload() {
    IsOpen_ = false;
    window_.Unload();
}

}  // namespace brumil::app
