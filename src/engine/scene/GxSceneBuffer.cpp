// Buffer objects and shader programs are reset after a painter drew.
#define GL_GLEXT_PROTOTYPES 1

#include "engine/scene/GxSceneBuffer.h"

#include "engine/materials/GxTexCoordRouter.h"
#include "base/GxException.h"
#include "engine/scene/GxFlagScope.h"
#include "engine/scene/GxGlErrorLog.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

// Hears when the camera is freed, so that the buffer forgets it.
class TGxSceneBuffer::CameraWatch : public TGxComponent {
public:
    explicit CameraWatch(TGxSceneBuffer& buffer) : m_buffer(buffer) {}

protected:
    void Notification(TGxComponent* component, TGxOperation operation) override
    {
        if (operation == opRemove && component == m_buffer.m_camera)
            m_buffer.cameraFreed();
    }

private:
    TGxSceneBuffer& m_buffer;
};

namespace {

constexpr int kMaxDiscardedErrors = 6;

std::array<float, 4> resolveColour(std::int32_t winColour, float alpha)
{
    TGxColor colour(nullptr);
    colour.SetWinColor(winColour);
    return {colour.Red(), colour.Green(), colour.Blue(), alpha};
}

} // namespace

void TGxSceneBuffer::ResetForeignState()
{
    glUseProgram(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void TGxSceneBuffer::MakeAlphaOpaque()
{
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(clear[0], clear[1], clear[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

// ---------------------------------------------------------------- fog

void TGxFogEnvironment::Apply() const
{
    static constexpr GLint modes[] = {GL_LINEAR, GL_EXP, GL_EXP2};
    glFogi(GL_FOG_MODE, modes[m_mode]);
    glFogfv(GL_FOG_COLOR, m_color.AsArray());
    glFogf(GL_FOG_START, m_start);
    glFogf(GL_FOG_END, m_end);
    glFogf(GL_FOG_DENSITY, m_density);
}

// ---------------------------------------------------------------- construction

TGxSceneBuffer::TGxSceneBuffer(IGxChangeListener* owner)
    : TGxUpdateAbleObject(owner),
      m_fog(this),
      m_ambientColor(this, 0.2f, 0.2f, 0.2f, 1.0f),
      m_cameraWatch(std::make_unique<CameraWatch>(*this))
{
}

TGxSceneBuffer::~TGxSceneBuffer()
{
    // Freeing the context may make other contexts current: nothing may
    // reach this buffer any more.
    OnChange = nullptr;
    OnStructuralChange = nullptr;
    DestroyRC();
    unregister();
    m_cameraWatch.reset();
}

// ---------------------------------------------------------------- properties

template <class T>
void TGxSceneBuffer::store(T& field, T value, bool structural)
{
    if (field == value)
        return;
    field = value;
    if (structural)
        structuralChange();
    else
        NotifyChange(this);
}

void TGxSceneBuffer::SetBackgroundColor(std::int32_t color)
{
    store(m_backgroundColor, color);
}

void TGxSceneBuffer::SetBackgroundAlpha(float alpha)
{
    store(m_backgroundAlpha, alpha);
}

void TGxSceneBuffer::SetContextOptions(TGxContextOptions options)
{
    store(m_contextOptions, options, true);
}

void TGxSceneBuffer::SetAccumBufferBits(int bits)
{
    store(m_accumBufferBits, bits, true);
}

void TGxSceneBuffer::SetDepthTest(bool on)
{
    store(m_depthTest, on);
}

void TGxSceneBuffer::SetFaceCulling(bool on)
{
    store(m_faceCulling, on);
}

void TGxSceneBuffer::SetFogEnable(bool on)
{
    store(m_fogEnable, on);
}

void TGxSceneBuffer::SetLighting(bool on)
{
    store(m_lighting, on);
}

void TGxSceneBuffer::SetAntiAliasing(TGxAntiAliasing value)
{
    store(m_antiAliasing, value, true);
}

void TGxSceneBuffer::SetDepthPrecision(TGxDepthPrecision value)
{
    store(m_depthPrecision, value, true);
}

void TGxSceneBuffer::SetColorDepth(TGxColorDepth value)
{
    store(m_colorDepth, value, true);
}

void TGxSceneBuffer::SetShadeModel(TGxShadeModel value)
{
    store(m_shadeModel, value);
}

void TGxSceneBuffer::structuralChange()
{
    if (OnStructuralChange)
        OnStructuralChange();
}

void TGxSceneBuffer::NotifyChange(IGxChangeListener* sender)
{
    TGxUpdateAbleObject::NotifyChange(sender);
    if (UpdateCount() == 0 && !m_rendering && OnChange)
        OnChange();
}

QSurfaceFormat TGxSceneBuffer::SurfaceFormat() const
{
    static constexpr int colourBits[] = {24, 8, 16, 24, 64, 128};
    static constexpr int depthBits[] = {24, 16, 24, 32};
    static constexpr int samples[] = {0, 0, 2, 2, 4, 4};
    const auto has = [this](TGxContextOption o) { return m_contextOptions.Contains(o); };

    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSwapBehavior(has(TGxContextOption::roDoubleBuffer) ? QSurfaceFormat::DoubleBuffer
                                                                 : QSurfaceFormat::SingleBuffer);
    format.setStereo(has(TGxContextOption::roStereo));
    const int colour = has(TGxContextOption::roNoColorBuffer) ? 0 : colourBits[m_colorDepth];
    const int channel = colour >= 64 ? colour / 4 : colour / 3;
    format.setRedBufferSize(channel);
    format.setGreenBufferSize(channel);
    format.setBlueBufferSize(colour == 16 ? 5 : channel);
    format.setDepthBufferSize(depthBits[m_depthPrecision]);
    format.setStencilBufferSize(has(TGxContextOption::roStencilBuffer) ? 8 : 0);
    format.setAlphaBufferSize(has(TGxContextOption::roDestinationAlpha) ? 8 : 0);
    format.setSamples(samples[m_antiAliasing]);
    format.setSwapInterval(m_vsync == vsmSync ? 1 : 0);
    // No accumulation or auxiliary buffers: Qt offers neither.
    return format;
}

// ---------------------------------------------------------------- camera and scene

void TGxSceneBuffer::SetCamera(TGxCamera* camera)
{
    if (camera == m_camera)
        return;
    unregister();
    if (m_camera)
        m_cameraWatch->RemoveFreeNotification(m_camera);
    m_camera = nullptr;
    if (camera && camera->Scene()) {
        m_camera = camera;
        m_cameraWatch->FreeNotification(camera);
        camera->TransformDirty();
    }
    NotifyChange(this);
}

void TGxSceneBuffer::cameraFreed()
{
    m_camera = nullptr;
}

void TGxSceneBuffer::registerWith(TGxScene* scene)
{
    if (scene == m_scene)
        return;
    unregister();
    m_scene = scene;
    if (m_scene)
        m_scene->AttachBuffer(this);
}

void TGxSceneBuffer::unregister()
{
    if (m_scene)
        m_scene->DetachBuffer(this);
    m_scene = nullptr;
}

void TGxSceneBuffer::SceneChanged(TGxScene* scene)
{
    if (!m_rendering && OnChange)
        OnChange();
}

void TGxSceneBuffer::SceneFreed(TGxScene* scene)
{
    if (scene == m_scene)
        m_scene = nullptr;
}

// ---------------------------------------------------------------- viewport and context

void TGxSceneBuffer::Resize(int width, int height)
{
    m_viewport.Width = std::max(width, 1);
    m_viewport.Height = std::max(height, 1);
    if (m_rc) {
        TGxContextActivation active(*m_rc);
        glViewport(0, 0, m_viewport.Width, m_viewport.Height);
    }
}

void TGxSceneBuffer::CreateRC(std::unique_ptr<TGxRenderingContext> context)
{
    DestroyRC();
    TGxFlagScope rendering(m_rendering);
    if (!context)
        throw EGxError("Failed to create RenderingContext.");
    TGxContextActivation active(*context);
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2 || major < 1 || (major == 1 && minor < 1))
        throw EGxError("Need at least OpenGL version 1.1");
    glViewport(0, 0, m_viewport.Width, m_viewport.Height);
    m_stateCache.Invalidate();
    PrepareGLState();
    const auto background = resolveColour(m_backgroundColor, 1.0f);
    glClearColor(background[0], background[1], background[2], background[3]);
    m_rc = std::move(context);
}

void TGxSceneBuffer::DestroyRC()
{
    unregister();
    m_rc.reset();
}

// ---------------------------------------------------------------- frames

void TGxSceneBuffer::ClearOpenGLErrors()
{
    for (int i = 0; i < kMaxDiscardedErrors; ++i) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR)
            break;
        // Left by whatever drew since the last check: a painter, a pick.
        TGxGlErrorLog::Report(error, "pending before a check");
    }
}

void TGxSceneBuffer::CheckOpenGLError()
{
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return;
    TGxGlErrorLog::Report(error, "found by a check");
    ClearOpenGLErrors();
    const auto* text = reinterpret_cast<const char*>(gluErrorString(error));
    throw EOpenGLError(text ? text : "Unknown OpenGL error");
}

void TGxSceneBuffer::PrepareGLState()
{
    TGxStateCache& cache = m_stateCache;
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, m_ambientColor.AsArray());
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, m_contextOptions.Contains(TGxContextOption::roTwoSideLighting) ? 1 : 0);
    cache.Enable(GL_NORMALIZE);
    cache.SetEnabled(GL_DEPTH_TEST, m_depthTest);
    cache.SetEnabled(GL_CULL_FACE, m_faceCulling);
    cache.SetEnabled(GL_LIGHTING, m_lighting);
    cache.SetEnabled(GL_FOG, m_fogEnable);
    GLint redBits = 8;
    glGetIntegerv(GL_RED_BITS, &redBits);
    cache.SetEnabled(GL_DITHER, redBits < 8);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glShadeModel(m_shadeModel == smFlat ? GL_FLAT : GL_SMOOTH);
}

void TGxSceneBuffer::Render(TGxBaseSceneObject* baseObject)
{
    if (m_rendering || !m_rc)
        return;
    const auto background = resolveColour(m_backgroundColor, m_backgroundAlpha);
    const auto start = std::chrono::steady_clock::now();
    if (m_camera && m_camera->Scene()) {
        m_camera->WorldMatrix();
        registerWith(m_camera->Scene());
    }
    {
        TGxFlagScope rendering(m_rendering);
        TGxContextActivation active(*m_rc);
        if (m_frameCount == 0)
            m_firstFrameTime = start;
        m_renderDPI = 96;
        ClearOpenGLErrors();
        // Whatever drew in this context since the last frame (a painter
        // over the view) left state the cache does not know.
        ResetForeignState();
        m_stateCache.Invalidate();
        PrepareGLState();
        glViewport(0, 0, m_viewport.Width, m_viewport.Height);
        glClearColor(background[0], background[1], background[2], background[3]);
        GLbitfield clear = GL_DEPTH_BUFFER_BIT;
        if (!m_contextOptions.Contains(TGxContextOption::roNoColorBuffer)
            && !m_contextOptions.Contains(TGxContextOption::roNoColorBufferClear))
            clear |= GL_COLOR_BUFFER_BIT;
        if (m_contextOptions.Contains(TGxContextOption::roStencilBuffer))
            clear |= GL_STENCIL_BUFFER_BIT;
        glClear(clear);
        CheckOpenGLError();

        RenderScene(m_viewport, 96, dsRendering, baseObject);
        CheckOpenGLError();

        if (!m_contextOptions.Contains(TGxContextOption::roDestinationAlpha))
            MakeAlphaOpaque();
        if (!m_contextOptions.Contains(TGxContextOption::roNoSwapBuffers))
            m_rc->SwapBuffers();

        ++m_frameCount;
        const auto now = std::chrono::steady_clock::now();
        m_lastFrameTime = std::chrono::duration<double>(now - start).count();
        const double span = std::chrono::duration<double>(now - m_firstFrameTime).count();
        if (span > 0.0)
            m_framesPerSecond = m_frameCount / span;
        CheckOpenGLError();
    }
    if (AfterRender)
        AfterRender(this);
}

void TGxSceneBuffer::setupMatrices(const TGxRectangle& viewport, int dpi, const TGxPixelRect* pickRect)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (pickRect) {
        // Centre y from the bottom; both halvings truncate toward zero.
        GLint view[4] = {viewport.Left, viewport.Top, viewport.Width, viewport.Height};
        gluPickMatrix((pickRect->Left + pickRect->Right) / 2,
                      viewport.Height - (pickRect->Top + pickRect->Bottom) / 2,
                      std::abs(pickRect->Right - pickRect->Left), std::abs(pickRect->Bottom - pickRect->Top), view);
    }
    glGetFloatv(GL_PROJECTION_MATRIX, m_baseProjectionMatrix.data());
    if (m_camera)
        m_camera->ApplyProjection(viewport, viewport.Width, viewport.Height, dpi);
    glGetFloatv(GL_PROJECTION_MATRIX, m_projectionMatrix.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (m_camera) {
        m_camera->ApplyView();
        m_cameraAbsolutePosition = m_camera->WorldPosition();
    }
    glGetFloatv(GL_MODELVIEW_MATRIX, m_modelViewMatrix.data());
}

void TGxSceneBuffer::resetTexCoordRouting()
{
    TGxTexCoordRouter::SetMode(mtcmNull);
    TGxTexCoordRouter::SetMode(mtcmMain);
}

void TGxSceneBuffer::RenderScene(const TGxRectangle& viewport, int dpi, TGxDrawState drawState,
                                 TGxBaseSceneObject* baseObject)
{
    setupMatrices(viewport, dpi, nullptr);
    resetTexCoordRouting();

    // VSync where the platform lets the interval change between frames.
    const int wanted = m_vsync == vsmSync ? 1 : 0;
    if (m_rc && m_rc->SwapInterval() >= 0 && m_rc->SwapInterval() != wanted)
        m_rc->SetSwapInterval(wanted);
    if (BeforeRender)
        BeforeRender(this);

    if (m_camera && m_camera->Scene()) {
        GLint maxLights = 8;
        glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
        m_camera->Scene()->LoadLights(maxLights);
        if (m_fogEnable) {
            m_stateCache.Enable(GL_FOG);
            m_fog.Apply();
        } else {
            m_stateCache.Disable(GL_FOG);
        }
        m_camera->Scene()->DrawScene(*this, viewport.Width, viewport.Height, drawState, baseObject);
    }

    if (PostRender)
        PostRender(this);
    const bool balanced = m_modelViewStack.empty();
    m_modelViewStack.clear();
    gxAssert(balanced, "Unbalance Push/PopModelViewMatrix.");
}

void TGxSceneBuffer::PopModelViewMatrix()
{
    if (!m_modelViewStack.empty())
        m_modelViewStack.pop_back();
}

const TGxMatrix& TGxSceneBuffer::ModelViewMatrix() const
{
    return m_modelViewStack.empty() ? m_modelViewMatrix : m_modelViewStack.back();
}
