#include "view3d/gl/model_view.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QSurfaceFormat>
#include <cstdio>

#include "view3d/gl/device.h"
#include "view3d/gl/renderer.h"
#include "view3d/pure/debug_log.h"

namespace velmora::view3d {

ModelView::ModelView(const std::string& logDirectory, QWidget* parent)
    : QOpenGLWidget(parent), device_(std::make_unique<Device>(logDirectory)) {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    setFormat(format);
    scene_ = std::make_unique<ModelScene>(CameraPlacement::kTilted, width(), height());
    timer_.setInterval(kFrameIntervalMs);
    connect(&timer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    device_->SetErrorHandler([this](const std::string& line) {
        // Reported after the frame, outside GL code; the game goes on.
        QMetaObject::invokeMethod(
            this,
            [this, text = QString::fromStdString(line)] {
                setRenderHandler(nullptr);
                emit failed(text);
            },
            Qt::QueuedConnection);
    });
    clock_.start();
}

ModelView::~ModelView() {
    makeCurrent();
    renderer_.reset();
    device_.reset();
    doneCurrent();
}

void ModelView::createModelScene(CameraPlacement camera) {
    if (started_) {
        makeCurrent();
        device_->SetWindowMode(size());
        doneCurrent();
    }
    scene_ = std::make_unique<ModelScene>(camera, width(), height());
}

void ModelView::setRenderHandler(std::function<void(ModelScene&)> handler) {
    if (handler_ && !handler) {
        const double seconds = static_cast<double>(clock_.elapsed() - handlerStartMs_) / 1000.0;
        const long frames = frames_ - handlerStartFrames_;
        char line[128];
        std::snprintf(line, sizeof line, "%ld フレームを %.1f 秒で描画しました (%.1f fps)", frames,
                      seconds, seconds > 0 ? static_cast<double>(frames) / seconds : 0.0);
        DebugLog::Instance().Detail(line);
    }
    if (!handler_ && handler) {
        handlerStartMs_ = clock_.elapsed();
        handlerStartFrames_ = frames_;
    }
    handler_ = std::move(handler);
    if (handler_ && !device_->Failed()) {
        timer_.start();
        update();
    } else {
        timer_.stop();
    }
}

void ModelView::blackOut() {
    black_ = true;
    update();
}

void ModelView::initializeGL() {
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &ModelView::contextLost,
            Qt::DirectConnection);
    if (!started_) {
        started_ = true;
        device_->StartUp(context(), size());
        renderer_ = std::make_unique<Renderer>(*device_);
    } else {
        device_->ContextRestored(context());
    }
}

void ModelView::contextLost() {
    if (!device_) return;  // the widget is going away with its device
    makeCurrent();
    device_->ContextLost();
    doneCurrent();
}

void ModelView::paintGL() {
    if (!device_->Ready()) return;
    QOpenGLExtraFunctions& gl = device_->Gl();
    if (black_ || !handler_ || device_->Failed()) {
        // No view: the last picture stays unless it was blacked out.
        if (black_ || device_->Failed()) {
            gl.glClearColor(0, 0, 0, 1);
            gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        }
        if (!handler_) return;
        black_ = false;
    }
    gl.glViewport(0, 0, static_cast<int>(width() * devicePixelRatioF()),
                  static_cast<int>(height() * devicePixelRatioF()));
    gl.glClearColor(136 / 255.0f, 136 / 255.0f, 136 / 255.0f, 1);
    gl.glClearDepthf(1);
    gl.glClearStencil(0);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    handler_(*scene_);
    renderer_->Draw(scene_->Render(), scene_->SceneGraph(),
                    static_cast<double>(clock_.elapsed()) / 1000.0);
    scene_->EmptyPool();
    renderer_->ForgetUnused();
    ++frames_;
}

}  // namespace velmora::view3d
