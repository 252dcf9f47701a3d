// The software device: its state, the calls that set it, the scene and the
// recording of its work for the bands.
#include "platform/gfx/soft_device.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "platform/gfx/dx7_math.h"
#include "soft_device_impl.h"

namespace brumil::platform {

namespace soft {

namespace {

constexpr D3DLong kMaxLights = 4096;

// Rows per band: about four bands per thread, so that a crowded band does not
// hold the others up, but tall enough that few primitives are set up twice.
int BandRows(int height, int threads) {
    return std::clamp(height / (threads * 4), 8, 64);
}

}  // namespace

SoftDevice::SoftDevice(SurfacePtr target, SurfacePtr depth, SoftDeviceOptions options)
    : target_(std::move(target)), depth_(std::move(depth)), options_(options) {
    viewport_ = {0, 0, target_->Width(), target_->Height(), 0.0f, 1.0f};
    for (auto& m : transforms_) DirectX7::IdentityMatrix(m);
    SetDefaults();
    const int threads = options_.threads > 0 ? options_.threads : raster::DefaultRenderThreads();
    if (threads > 1) {
        // While the runner draws (as the pool's caller), this thread records:
        // the pool keeps one thread fewer, so the two together use `threads`.
        pool_ = std::make_unique<raster::BandPool>(threads - 1);
        bandRows_ = BandRows(target_->Height(), threads);
        queue_ = std::make_unique<raster::BandQueue>(target_->Height(), bandRows_);
        runner_ = std::make_unique<raster::BandRunner>();
        pending_ = std::make_shared<Finisher>(*this);
    }
}

SoftDevice::~SoftDevice() {
    Flush();
}

bool SoftDevice::BeginScene() {
    if (inScene_) return false;
    inScene_ = true;
    return true;
}

bool SoftDevice::EndScene() {
    if (!inScene_) return false;
    Flush();
    inScene_ = false;
    return true;
}

bool SoftDevice::Clear(std::span<const D3DRECT> rects, D3DLong flags, D3DLong color, float z,
                       D3DLong /*stencil*/) {
    if ((flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER)) != 0) return false;
    if ((flags & D3DCLEAR_ZBUFFER) && (depth_ == nullptr || depth_->IsLost())) return false;
    if ((flags & D3DCLEAR_TARGET) && target_->IsLost()) return false;
    if (!std::isfinite(z)) return false;
    // With bands, the clear is recorded and each band clears its own rows
    // before it draws; draws recorded before it run first.
    const bool record = queue_ != nullptr;
    std::uint32_t* targetRows = nullptr;
    float* depthRows = nullptr;
    if (record) {
        if (!queue_->Empty()) Flush();
        decoding_ = true;
        targetRows = target_->MutablePixels().data();
        if (depth_ != nullptr) depthRows = depth_->MutableDepth().data();
        decoding_ = false;
    } else {
        Flush();
    }
    const SurfaceRect vp = ViewportRect();
    const bool colorToo = (flags & D3DCLEAR_TARGET) != 0,
               depthToo = (flags & D3DCLEAR_ZBUFFER) != 0;
    const auto clearOne = [&](SurfaceRect r) {
        r.x1 = std::max(r.x1, vp.x1);
        r.y1 = std::max(r.y1, vp.y1);
        r.x2 = std::min(r.x2, vp.x2);
        r.y2 = std::min(r.y2, vp.y2);
        if (r.Empty()) return;
        if (record) {
            RecordedClear c;
            c.rect = r;
            c.color = colorToo;
            c.depth = depthToo;
            c.z = z;
            c.target = targetRows;
            c.depthRows = depthRows;
            c.targetWidth = target_->Width();
            if (colorToo) c.pixel = target_->Quantise(static_cast<std::uint32_t>(color));
            if (depthToo) c.depthWidth = depth_->Width();
            clears_.push_back(c);
            return;
        }
        if (colorToo) target_->BltColorFill(r, static_cast<std::uint32_t>(color));
        if (depthToo) depth_->DepthFill(r, z);
    };
    if (rects.empty()) {
        clearOne(vp);
    } else {
        for (const D3DRECT& r : rects) clearOne({r.x1, r.y1, r.x2, r.y2});
    }
    if (record && !clears_.empty()) {
        Hold(target_);
        if (depthToo) Hold(depth_);
    }
    return true;
}

void SoftDevice::ClearBand(int band, const std::vector<RecordedClear>& clears) const {
    const int y1 = band * bandRows_, y2 = std::min(y1 + bandRows_, target_->Height());
    for (const RecordedClear& c : clears) {
        const int top = std::max(c.rect.y1, y1), bottom = std::min(c.rect.y2, y2);
        for (int y = top; y < bottom; ++y) {
            if (c.color) {
                std::uint32_t* row = c.target + static_cast<std::size_t>(y) * c.targetWidth;
                std::fill(row + c.rect.x1, row + c.rect.x2, c.pixel);
            }
            if (c.depth) {
                float* row = c.depthRows + static_cast<std::size_t>(y) * c.depthWidth;
                std::fill(row + c.rect.x1, row + c.rect.x2, c.z);
            }
        }
    }
}

bool SoftDevice::SetViewport(const D3DVIEWPORT7& vp) {
    const std::int64_t right = std::int64_t{vp.lX} + vp.lWidth;
    const std::int64_t bottom = std::int64_t{vp.lY} + vp.lHeight;
    if (vp.lX < 0 || vp.lY < 0 || vp.lWidth <= 0 || vp.lHeight <= 0 || right > target_->Width() ||
        bottom > target_->Height()) {
        return false;
    }
    if (!std::isfinite(vp.minz) || !std::isfinite(vp.maxz)) return false;
    viewport_ = vp;
    stateDirty_ = true;
    return true;
}

bool SoftDevice::GetViewport(D3DVIEWPORT7& vp) {
    vp = viewport_;
    return true;
}

bool SoftDevice::SetTransform(D3DLong state, const D3DMATRIX& m) {
    if (state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION) return false;
    transforms_[state - 1] = m;
    setupDirty_ = true;
    return true;
}

bool SoftDevice::GetTransform(D3DLong state, D3DMATRIX& m) {
    if (state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION) return false;
    m = transforms_[state - 1];
    return true;
}

bool SoftDevice::SetRenderState(D3DLong state, D3DLong value) {
    if (state < 0 || state >= kRenderStateCount) return false;
    if (renderStates_[state] != value) {
        renderStates_[state] = value;
        stateDirty_ = true;
        setupDirty_ = true;
    }
    return true;
}

bool SoftDevice::SetTextureStageState(D3DLong stage, D3DLong type, D3DLong value) {
    if (stage < 0 || stage >= kTextureStageCount || type < 1 || type >= kStageStateCount) {
        return false;
    }
    stageStates_[stage][type] = value;
    if (type == D3DTSS_ADDRESS) {
        stageStates_[stage][D3DTSS_ADDRESSU] = value;
        stageStates_[stage][D3DTSS_ADDRESSV] = value;
    }
    stateDirty_ = true;
    return true;
}

bool SoftDevice::SetTexture(D3DLong stage, const SurfacePtr& texture) {
    if (stage < 0 || stage >= kTextureStageCount) return false;
    if (texture != nullptr &&
        (texture->IsLost() || texture->IsDepth() || !texture->Desc().texture)) {
        return false;
    }
    textures_[stage] = texture;
    stateDirty_ = true;
    return true;
}

bool SoftDevice::SetMaterial(const D3DMATERIAL7& m) {
    material_ = m;
    setupDirty_ = true;
    return true;
}

bool SoftDevice::SetLight(D3DLong index, const D3DLIGHT7& light) {
    if (index < 0 || index >= kMaxLights) return false;
    if (light.dltType < D3DLIGHT_POINT || light.dltType > D3DLIGHT_DIRECTIONAL) return false;
    if ((light.dltType != D3DLIGHT_DIRECTIONAL) && !(light.range >= 0.0f)) return false;
    Slot(index).light = light;
    setupDirty_ = true;
    return true;
}

bool SoftDevice::LightEnable(D3DLong index, bool enable) {
    if (index < 0 || index >= kMaxLights) return false;
    const bool known = static_cast<std::size_t>(index) < lights_.size() && lightSet_[index];
    lighting::Light& l = Slot(index);
    if (!known) {
        // Enabling a slot never set gives it the default white light shining
        // along +z.
        l.light = D3DLIGHT7{};
        l.light.dltType = D3DLIGHT_DIRECTIONAL;
        l.light.diffuse = {1, 1, 1, 0};
        l.light.direction = {0, 0, 1};
    }
    l.enabled = enable;
    setupDirty_ = true;
    return true;
}

bool SoftDevice::GetLightEnable(D3DLong index) {
    return index >= 0 && static_cast<std::size_t>(index) < lights_.size() && lights_[index].enabled;
}

bool SoftDevice::DrawPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> vertices,
                               D3DLong count, D3DLong /*flags*/) {
    return Draw(type, fvf, vertices, count, nullptr, 0);
}

bool SoftDevice::DrawIndexedPrimitive(D3DLong type, D3DLong fvf,
                                      std::span<const std::byte> vertices, D3DLong count,
                                      std::span<const std::int16_t> indices, D3DLong indexCount,
                                      D3DLong /*flags*/) {
    if (indexCount < 0 || static_cast<std::size_t>(indexCount) > indices.size()) return false;
    return Draw(type, fvf, vertices, count, indices.data(), indexCount);
}

// Runs what is recorded (the clears, then the draws, band by band) and lets
// the surfaces go.
void SoftDevice::Flush() {
    if (queue_ == nullptr || decoding_) return;
    CollectRunning();
    if (!queue_->Empty() || !clears_.empty()) {
        // The runner is the pool's caller and this thread takes tasks
        // alongside, so the pool's threads and this one draw the bands.
        runner_->Start([this] { RunQueue(*queue_, clears_); });
        if (!pool_->HelpUntil([this] { return runner_->Idle(); })) runner_->Wait();
    }
    clears_.clear();
    recorded_ = 0;
    stateQueued_ = false;
    for (const SurfacePtr& s : held_) s->ClearPending(pending_.get());
    held_.clear();
}

// Draws a queue's bands on the pool, each band's clears first.
void SoftDevice::RunQueue(raster::BandQueue& queue, const std::vector<RecordedClear>& clears) {
    if (clears.empty()) {
        if (!queue.Empty()) queue.Run(*pool_);
        return;
    }
    const std::function<void(int)> clear = [&](int band) { ClearBand(band, clears); };
    queue.Run(*pool_, &clear);
}

// Enough draws recorded and the runner free: it draws them while the caller
// records the next into another queue.
void SoftDevice::HandOver() {
    constexpr int kHandOverPrimitives = 384;
    if (runner_ == nullptr || recorded_ < kHandOverPrimitives || !runner_->Idle()) return;
    CollectRunning();
    running_ = std::move(queue_);
    runningClears_.swap(clears_);
    queue_ = spare_ != nullptr ? std::move(spare_)
                               : std::make_unique<raster::BandQueue>(target_->Height(), bandRows_);
    recorded_ = 0;
    stateQueued_ = false;
    runner_->Start([this] { RunQueue(*running_, runningClears_); });
}

// Waits for the runner's part of the scene, taking its tasks meanwhile, and
// keeps its queue for reuse.
void SoftDevice::CollectRunning() {
    if (running_ == nullptr) return;
    if (!pool_->HelpUntil([this] { return runner_->Idle(); })) runner_->Wait();
    spare_ = std::move(running_);
    runningClears_.clear();
}

// Keeps a surface that recorded work uses until it has run.
void SoftDevice::Hold(const SurfacePtr& s) {
    if (s->SetPending(pending_)) held_.push_back(s);
}

lighting::Light& SoftDevice::Slot(D3DLong index) {
    if (static_cast<std::size_t>(index) >= lights_.size()) {
        lights_.resize(index + 1);
        lightSet_.resize(index + 1, false);
    }
    lightSet_[index] = true;
    return lights_[index];
}

SurfaceRect SoftDevice::ViewportRect() const {
    return {viewport_.lX, viewport_.lY, viewport_.lX + viewport_.lWidth,
            viewport_.lY + viewport_.lHeight};
}

}  // namespace soft

std::unique_ptr<Direct3DDevice7> CreateSoftDevice(SurfacePtr target, SurfacePtr depth,
                                                  SoftDeviceOptions options) {
    if (target == nullptr || target->IsDepth() || target->IsLost()) return nullptr;
    if (depth != nullptr && (!depth->IsDepth() || depth->Width() < target->Width() ||
                             depth->Height() < target->Height())) {
        return nullptr;
    }
    return std::make_unique<soft::SoftDevice>(std::move(target), std::move(depth), options);
}

D3DCaps SoftDeviceCaps() {
    D3DCaps c;
    c.CapsDither = false;
    c.CapsAlphaGreaterEqual = true;
    c.CapsFilterLevel = 1;
    c.CapsAntiAliasLevel = 0;
    c.CapsMultiTexture = false;
    // Any surface the software device can hold it can also sample.
    c.MaxTextureWidth = kMaxSurfaceSide;
    c.MaxTextureHeight = kMaxSurfaceSide;
    c.MinTextureWidth = 1;
    c.SquareOnly = false;
    return c;
}

}  // namespace brumil::platform
