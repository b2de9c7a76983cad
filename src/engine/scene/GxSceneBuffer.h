#pragma once

#include "engine/materials/GxColor.h"
#include "engine/materials/GxStateCache.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxComponent.h"
#include "engine/scene/GxFlagSet.h"
#include "engine/scene/GxPickList.h"
#include "engine/scene/GxRenderingContext.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/RenderContextInfo.h"

#include <QSurfaceFormat>

class QImage;

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum class TGxContextOption {
    roDoubleBuffer,
    roStencilBuffer,
    roRenderToWindow,
    roTwoSideLighting,
    roStereo,
    roDestinationAlpha,
    roNoColorBuffer,
    roNoColorBufferClear,
    roNoSwapBuffers
};
using TGxContextOptions = TGxFlagSet<TGxContextOption>;

enum TGxAntiAliasing { aaDefault, aaNone, aa2x, aa2xHQ, aa4x, aa4xHQ };
enum TGxDepthPrecision { dpDefault, dp16bits, dp24bits, dp32bits };
enum TGxColorDepth { cdDefault, cd8bits, cd16bits, cd24bits, cdFloat64bits, cdFloat128bits };
enum TGxShadeModel { smDefault, smSmooth, smFlat };
enum TGxVSyncMode { vsmSync, vsmNoSync };
enum TGxFogMode { fmLinear, fmExp, fmExp2 };

// Windows colour values the window definitions use.
inline constexpr std::int32_t clWhite = 0x00FFFFFF;
inline constexpr std::int32_t clBtnFace = std::int32_t(0x8000000F);

// Fog of a buffer, applied while its FogEnable is on.
class TGxFogEnvironment : public TGxUpdateAbleObject {
public:
    explicit TGxFogEnvironment(IGxChangeListener* owner) : TGxUpdateAbleObject(owner), m_color(this, 0.5f, 0.5f, 0.5f, 1.0f) {}

    TGxColor& FogColor() { return m_color; }
    const TGxColor& FogColor() const { return m_color; }
    TGxFogMode FogMode() const { return m_mode; }
    void SetFogMode(TGxFogMode mode) { store(m_mode, mode); }
    float FogStart() const { return m_start; }
    void SetFogStart(float v) { store(m_start, v); }
    float FogEnd() const { return m_end; }
    void SetFogEnd(float v) { store(m_end, v); }
    float Density() const { return m_density; }
    void SetDensity(float v) { store(m_density, v); }
    // glFog for all of the above.
    void Apply() const;

private:
    template <class T>
    void store(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        NotifyChange(this);
    }

    TGxColor m_color;
    TGxFogMode m_mode = fmLinear;
    float m_start = 10.0f;
    float m_end = 1000.0f;
    float m_density = 1.0f;
};

// A pick rectangle in view pixels, origin top left, y downward.
struct TGxPixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Renders the scene of its camera through its rendering context: the frame,
// the selection-mode pick and the projections between window pixels and the
// scene. The viewer (or an off-screen user) gives it its context and size.
class TGxSceneBuffer : public TGxUpdateAbleObject, public IGxSceneBuffer {
public:
    explicit TGxSceneBuffer(IGxChangeListener* owner = nullptr);
    ~TGxSceneBuffer() override;

    // ---- Properties (a change notifies; "structural" ones ask for a new context)
    TGxFogEnvironment& FogEnvironment() { return m_fog; }
    // A Windows colour value; system colours are resolved when a frame starts.
    std::int32_t BackgroundColor() const { return m_backgroundColor; }
    void SetBackgroundColor(std::int32_t color);
    float BackgroundAlpha() const { return m_backgroundAlpha; }
    void SetBackgroundAlpha(float alpha);
    TGxColor& AmbientColor() { return m_ambientColor; }
    const TGxColor& AmbientColor() const { return m_ambientColor; }
    TGxContextOptions ContextOptions() const { return m_contextOptions; }
    void SetContextOptions(TGxContextOptions options);
    int AccumBufferBits() const { return m_accumBufferBits; }
    void SetAccumBufferBits(int bits);
    bool DepthTest() const { return m_depthTest; }
    void SetDepthTest(bool on);
    bool FaceCulling() const { return m_faceCulling; }
    void SetFaceCulling(bool on);
    bool FogEnable() const { return m_fogEnable; }
    void SetFogEnable(bool on);
    bool Lighting() const { return m_lighting; }
    void SetLighting(bool on);
    TGxAntiAliasing AntiAliasing() const { return m_antiAliasing; }
    void SetAntiAliasing(TGxAntiAliasing value);
    TGxDepthPrecision DepthPrecision() const { return m_depthPrecision; }
    void SetDepthPrecision(TGxDepthPrecision value);
    TGxColorDepth ColorDepth() const { return m_colorDepth; }
    void SetColorDepth(TGxColorDepth value);
    TGxShadeModel ShadeModel() const { return m_shadeModel; }
    void SetShadeModel(TGxShadeModel value);
    // Applied before every frame where the platform lets the swap interval change.
    TGxVSyncMode VSync() const { return m_vsync; }
    void SetVSync(TGxVSyncMode mode) { m_vsync = mode; }
    // Picking leaves out objects whose bounds cannot meet the pick region.
    bool PickCulling() const { return m_pickCulling; }
    void SetPickCulling(bool on) { m_pickCulling = on; }
    // With culling on, the pick finds those objects through the scene's
    // pick index instead of testing every object of the tree.
    bool PickIndexed() const { return m_pickIndexed; }
    void SetPickIndexed(bool on) { m_pickIndexed = on; }
    // While a pick through the index runs: the objects it visits.
    const TGxPickVisit* PickVisit() const { return m_pickVisit; }
    // How many objects the last pick drew (each under a name of its own).
    std::size_t LastPickObjectCount() const { return m_lastPickObjectCount; }
    // Frames leave out objects whose bounds lie outside the view (NeverCull
    // ones excepted); the picture is the same.
    bool ViewCulling() const { return m_viewCulling; }
    void SetViewCulling(bool on) { m_viewCulling = on; }
    // Static polygons of the object root are drawn together from shared
    // vertex buffers; the picture is the same.
    bool Batching() const { return m_batching; }
    void SetBatching(bool on) { m_batching = on; }

    // The pixel-format wishes of the properties, on top of the default format.
    QSurfaceFormat SurfaceFormat() const;

    // ---- Events
    std::function<void()> OnChange;           // a frame is wanted
    std::function<void()> OnStructuralChange; // a new context is wanted
    std::function<void(TGxSceneBuffer*)> BeforeRender, PostRender, AfterRender;
    std::function<void(TGxSceneBuffer*, TRenderContextInfo&)> InitiateRendering, WrapUpRendering;

    // ---- Camera: only one that belongs to a scene is taken; freeing it clears it.
    TGxCamera* Camera() const { return m_camera; }
    void SetCamera(TGxCamera* camera);

    // ---- Viewport: width and height never below 1.
    void Resize(int width, int height);
    int Width() const { return m_viewport.Width; }
    int Height() const { return m_viewport.Height; }
    const TGxRectangle& ViewPort() const { return m_viewport; }

    // ---- Rendering context
    // Takes the context over: activates it, checks the OpenGL version
    // ("Need at least OpenGL version 1.1"), sets the viewport, prepares the
    // state and the clear colour. None is "Failed to create RenderingContext.".
    void CreateRC(std::unique_ptr<TGxRenderingContext> context);
    // Leaves the scene's buffers and frees the context.
    void DestroyRC();
    TGxRenderingContext* RenderingContext() const { return m_rc.get(); }
    bool Rendering() const { return m_rendering; }

    // ---- Frames
    // One frame: clear, matrices, lights, the scene (or the base object and
    // its subtree), present, then AfterRender. Nothing while rendering or
    // without a context.
    void Render(TGxBaseSceneObject* baseObject = nullptr);
    // The base render into the current context: matrices, routing, VSync,
    // BeforeRender, lights, fog, DrawScene, PostRender.
    void RenderScene(const TGxRectangle& viewport, int dpi, TGxDrawState drawState,
                     TGxBaseSceneObject* baseObject);
    // Renders the view once into `bitmap`, whatever its size, at `dpi` dots
    // per inch (0: the bitmap's own resolution), in the printing drawing
    // state. The picture goes through a framebuffer object in this buffer's
    // own context, so its display lists and textures serve unchanged.
    // Fails with "Already rendering" inside a frame.
    void SnapshotToBitmap(QImage& bitmap, int dpi);
    // The OpenGL state of the properties (at context creation and every frame).
    void PrepareGLState();
    // Raises EOpenGLError with GLU's text for the first pending error.
    static void CheckOpenGLError();
    static void ClearOpenGLErrors();
    // State a painter over the view (or anything else drawing in the
    // context) may have left, put back to what fixed-function drawing expects.
    static void ResetForeignState();
    // Makes the alpha of every pixel 1, colours untouched: blended texels and
    // antialiased text leave it below 1, which shows as holes in screenshots
    // and when the window is composited. The clear colour is kept.
    static void MakeAlphaOpaque();

    int FrameCount() const { return m_frameCount; }
    double LastFrameTime() const { return m_lastFrameTime; } // seconds
    double FramesPerSecond() const { return m_framesPerSecond; }

    // ---- What the last matrix set-up (frame or pick) left
    const TGxMatrix& SavedModelViewMatrix() const { return m_modelViewMatrix; }
    const TGxMatrix& ProjectionMatrix() const { return m_projectionMatrix; }
    const TGxMatrix& BaseProjectionMatrix() const { return m_baseProjectionMatrix; }
    const TGxVector& CameraAbsolutePosition() const { return m_cameraAbsolutePosition; }
    int RenderDPI() const { return m_renderDPI; }
    // The model-view matrix stack of objects that draw from another frame.
    void PushModelViewMatrix(const TGxMatrix& matrix) { m_modelViewStack.push_back(matrix); }
    void PopModelViewMatrix();
    // The top of that stack, else the saved camera transform.
    const TGxMatrix& ModelViewMatrix() const;

    TGxStateCache& StateCache() { return m_stateCache; }
    TGxSelectionNames& SelectionNames() { return m_selectionNames; }

    // ---- Picking and projection (view pixels: origin top left, y down;
    // window points: OpenGL window coordinates, origin bottom left)
    TGxBaseSceneObject* ObjectAtPixel(int x, int y);
    std::unique_ptr<TGxPickList> PickListInRect(const TGxPixelRect& rect, int capacityHint);
    void FillPickList(const TGxPixelRect& rect, TGxPickList& list, int capacityHint);
    TGxVector ProjectToWindow(const TGxVector& point) const;
    TGxVector UnprojectFromWindow(const TGxVector& windowPoint) const;
    TGxVector PixelRay(const TGxVector& windowPoint) const;
    bool PixelRayHitPlane(const TGxVector& windowPoint, const TGxVector& planePoint, const TGxVector& planeNormal,
                          TGxVector& point) const;
    bool PixelOnGroundPlane(const TGxVector& windowPoint, float z, TGxVector& point) const;

    // ---- IGxSceneBuffer
    void SceneChanged(TGxScene* scene) override;
    void SceneFreed(TGxScene* scene) override;
    // A property or an owned part changed.
    void NotifyChange(IGxChangeListener* sender) override;

private:
    class CameraWatch;

    void structuralChange();
    void cameraFreed();
    void registerWith(TGxScene* scene);
    void unregister();
    // Projection (starting from the identity, or the pick region's matrix) and
    // model-view of the camera; saves them.
    void setupMatrices(const TGxRectangle& viewport, int dpi, const TGxPixelRect* pickRect);
    // Texture coordinates to unit 0, whatever the last pass left.
    static void resetTexCoordRouting();
    template <class T>
    void store(T& field, T value, bool structural = false);

    TGxFogEnvironment m_fog;
    std::int32_t m_backgroundColor = clBtnFace;
    float m_backgroundAlpha = 1.0f;
    TGxColor m_ambientColor;
    TGxContextOptions m_contextOptions{TGxContextOption::roDoubleBuffer, TGxContextOption::roRenderToWindow};
    int m_accumBufferBits = 0;
    bool m_depthTest = true;
    bool m_faceCulling = true;
    bool m_fogEnable = false;
    bool m_lighting = true;
    TGxAntiAliasing m_antiAliasing = aaDefault;
    TGxDepthPrecision m_depthPrecision = dpDefault;
    TGxColorDepth m_colorDepth = cdDefault;
    TGxShadeModel m_shadeModel = smDefault;
    TGxVSyncMode m_vsync = vsmNoSync;
    bool m_pickCulling = true;
    bool m_pickIndexed = true;
    const TGxPickVisit* m_pickVisit = nullptr;
    std::size_t m_lastPickObjectCount = 0;
    bool m_viewCulling = true;
    bool m_batching = true;

    TGxRectangle m_viewport{0, 0, 1, 1};
    TGxCamera* m_camera = nullptr;
    std::unique_ptr<CameraWatch> m_cameraWatch;
    TGxScene* m_scene = nullptr; // the scene this buffer is registered with
    std::unique_ptr<TGxRenderingContext> m_rc;
    bool m_rendering = false;

    TGxMatrix m_baseProjectionMatrix = IdentityMatrix();
    TGxMatrix m_projectionMatrix = IdentityMatrix();
    TGxMatrix m_modelViewMatrix = IdentityMatrix();
    TGxVector m_cameraAbsolutePosition = VectorMake(0, 0, 0, 1);
    int m_renderDPI = 96;
    std::vector<TGxMatrix> m_modelViewStack;
    TGxStateCache m_stateCache;
    TGxSelectionNames m_selectionNames;

    int m_frameCount = 0;
    std::chrono::steady_clock::time_point m_firstFrameTime;
    double m_lastFrameTime = 0.0;
    double m_framesPerSecond = 0.0;
};

// True when the ray from `start` along `vector` meets the plane strictly
// ahead of the start; the point then goes to `point` (left alone otherwise).
// A ray parallel to the plane (|vector . normal| <= 1e-30) never meets it.
bool RayPlaneIntersect(const TGxVector& start, const TGxVector& vector, const TGxVector& planePoint,
                       const TGxVector& planeNormal, TGxVector* point = nullptr);
