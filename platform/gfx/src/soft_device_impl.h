#pragma once
// The software device's class, shared by the files that implement it: the
// state and its setters (soft_device.cpp), the decoding of that state into a
// pixel state (soft_device_decode.cpp), the vertex front end that transforms,
// lights and projects the records (soft_device_vertices.cpp), and the
// assembly of primitives with their clipping and culling
// (soft_device_assembly.cpp).

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "band_pool.h"
#include "band_queue.h"
#include "band_runner.h"
#include "clip_vertex.h"
#include "lighting.h"
#include "padded_textures.h"
#include "platform/gfx/d3d_device.h"
#include "platform/gfx/soft_device.h"
#include "raster.h"

namespace brumil::platform::soft {

class SoftDevice final : public Direct3DDevice7 {
public:
    SoftDevice(SurfacePtr target, SurfacePtr depth, SoftDeviceOptions options);
    ~SoftDevice() override;
    SoftDevice(const SoftDevice&) = delete;
    SoftDevice& operator=(const SoftDevice&) = delete;

    bool BeginScene() override;
    bool EndScene() override;
    bool Clear(std::span<const D3DRECT> rects, D3DLong flags, D3DLong color, float z,
               D3DLong stencil) override;
    bool SetViewport(const D3DVIEWPORT7& vp) override;
    bool GetViewport(D3DVIEWPORT7& vp) override;
    bool SetTransform(D3DLong state, const D3DMATRIX& m) override;
    bool GetTransform(D3DLong state, D3DMATRIX& m) override;
    bool SetRenderState(D3DLong state, D3DLong value) override;
    bool SetTextureStageState(D3DLong stage, D3DLong type, D3DLong value) override;
    bool SetTexture(D3DLong stage, const SurfacePtr& texture) override;
    bool SetMaterial(const D3DMATERIAL7& m) override;
    bool SetLight(D3DLong index, const D3DLIGHT7& light) override;
    bool LightEnable(D3DLong index, bool enable) override;
    bool GetLightEnable(D3DLong index) override;
    bool DrawPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> vertices,
                       D3DLong count, D3DLong flags) override;
    bool DrawIndexedPrimitive(D3DLong type, D3DLong fvf, std::span<const std::byte> vertices,
                              D3DLong count, std::span<const std::int16_t> indices,
                              D3DLong indexCount, D3DLong flags) override;
    using Direct3DDevice7::DrawIndexedPrimitive;
    using Direct3DDevice7::DrawPrimitive;

private:
    // Runs the recorded draws when a surface must be final.
    class Finisher final : public PendingDraws {
    public:
        explicit Finisher(SoftDevice& device) : device_(device) {}
        void Finish() override { device_.Flush(); }

    private:
        SoftDevice& device_;
    };

    // A clear recorded for the bands, already clipped to the viewport.
    struct RecordedClear {
        SurfaceRect rect;
        bool color = false, depth = false;
        std::uint32_t pixel = 0;  // the colour as the target stores it
        float z = 0;
        // The surfaces' storage, taken when recorded, as the bands run on
        // while the next clears are recorded.
        std::uint32_t* target = nullptr;
        float* depthRows = nullptr;
        int targetWidth = 0, depthWidth = 0;
    };

    // Each vertex's screen form, made once however many triangles share it
    // (for the vertices the clipper would hand back unchanged).
    struct Shared {
        raster::Vertex screen;  // when inside
        bool finite = false, inside = false;
    };

    // What the vertex front end takes the same for every vertex of a draw,
    // made again only after a setter changed what it is made from.
    struct VertexSetup {
        D3DMATRIX m;             // world x view x projection
        float normalM[3][3]{};   // the normals' matrix
        bool normalize = false;  // normals normalised after the transform
        bool lit = false;        // the lighting render state (untransformed records only)
        lighting::Context ctx;
    };

    // Scene and recording (soft_device.cpp).
    void Flush();
    void RunQueue(raster::BandQueue& queue, const std::vector<RecordedClear>& clears);
    void HandOver();
    void CollectRunning();
    void Hold(const SurfacePtr& s);
    void ClearBand(int band, const std::vector<RecordedClear>& clears) const;
    lighting::Light& Slot(D3DLong index);
    SurfaceRect ViewportRect() const;

    // State decoding (soft_device_decode.cpp).
    void SetDefaults();
    bool Decode();
    bool DecodeFully(raster::PixelState& ps);

    // The vertex front end (soft_device_vertices.cpp).
    void PrepareScreen(std::span<const std::byte> bytes, D3DLong count);
    void PrepareClip(D3DLong fvf, std::span<const std::byte> bytes, D3DLong count);
    void UpdateVertexSetup();
    void PrepareRange(D3DLong fvf, const std::byte* bytes, D3DLong first, D3DLong last);
    raster::Vertex ToScreen(const ClipVertex& c) const;

    // Primitive assembly (soft_device_assembly.cpp).
    bool Draw(D3DLong type, D3DLong fvf, std::span<const std::byte> bytes, D3DLong count,
              const std::int16_t* indices, D3DLong indexCount);
    void ClipTriangle(D3DLong ia, D3DLong ib, D3DLong ic, D3DLong iflat);
    void ClipLine(const ClipVertex& a, const ClipVertex& b);
    void ScreenTriangle(const raster::Vertex& a, const raster::Vertex& b, const raster::Vertex& c,
                        const raster::Vertex& flat);
    bool Visible(const raster::Vertex* s, int n) const;
    bool Visible3(const raster::Vertex& a, const raster::Vertex& b, const raster::Vertex& c) const;
    bool Faces(double area) const;
    void EmitTriangle(const raster::Vertex& a, const raster::Vertex& b, const raster::Vertex& c,
                      const raster::Vertex& flat);
    void EmitLine(const raster::Vertex& a, const raster::Vertex& b);

    SurfacePtr target_;
    SurfacePtr depth_;
    SoftDeviceOptions options_;
    bool inScene_ = false;
    D3DVIEWPORT7 viewport_;
    D3DMATRIX transforms_[3];
    std::array<D3DLong, kRenderStateCount> renderStates_{};
    std::array<std::array<D3DLong, kStageStateCount>, kTextureStageCount> stageStates_{};
    std::array<SurfacePtr, kTextureStageCount> textures_;
    D3DMATERIAL7 material_;
    std::vector<lighting::Light> lights_;
    std::vector<bool> lightSet_;

    // The decoded pixel state of the last draw, and what it was decoded from
    // besides the setters' state: it is decoded again when a setter has run
    // or when one of these differs.
    raster::PixelState state_;
    raster::PaddedTextures padded_;  // for the wide loops' bilinear filter
    bool stateDirty_ = true;
    const std::uint32_t* stateTarget_ = nullptr;
    const float* stateDepth_ = nullptr;
    const std::uint32_t* stateTex_ = nullptr;
    std::uint64_t stateTexGeneration_ = 0;
    std::optional<std::uint32_t> stateKey_;
    bool stateQueued_ = false;  // state_ is the queue's current draw state

    VertexSetup setup_;
    bool setupDirty_ = true;

    std::vector<raster::Vertex> screen_;
    std::vector<ClipVertex> clip_;
    std::vector<Shared> shared_;  // per entry of clip_

    // The loops chosen for the decoded state's triangles, with one thread:
    // kept from draw to draw until the state is decoded anew.
    raster::LoopCache loops_;
    // With one thread, a triangle kept back within a draw for its pair.
    raster::PairingDrawer pairing_;

    // Banded drawing on worker threads: null with one thread. The draws are
    // recorded into queue_; the runner draws the bands of an earlier part of
    // the scene (running_, with the clears before it) meanwhile, and each
    // part's bands wait for the part before to finish.
    std::unique_ptr<raster::BandPool> pool_;
    std::unique_ptr<raster::BandQueue> queue_, running_, spare_;
    std::unique_ptr<raster::BandRunner> runner_;
    int bandRows_ = 0;
    int recorded_ = 0;  // primitives handed to queue_
    std::vector<RecordedClear> runningClears_;
    std::shared_ptr<Finisher> pending_;
    std::vector<SurfacePtr> held_;       // surfaces the recorded work uses
    std::vector<RecordedClear> clears_;  // run by queue_'s bands before its primitives
    bool decoding_ = false;              // reading the surfaces for a draw
};

}  // namespace brumil::platform::soft
