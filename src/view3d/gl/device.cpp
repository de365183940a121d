#include "view3d/gl/device.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <cstdio>

#include "view3d/pure/debug_log.h"

namespace velmora::view3d {
namespace {

DebugLog& Log() {
    return DebugLog::Instance();
}

std::string Format(const char* format, auto... args) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

std::string GlString(QOpenGLExtraFunctions* gl, unsigned name) {
    const auto* s = reinterpret_cast<const char*>(gl->glGetString(name));
    return s ? s : "";
}

}  // namespace

Device::Device(const std::string& logDirectory) {
    Log().SetFile(logDirectory.empty() ? std::filesystem::path()
                                       : std::filesystem::path(logDirectory) / DebugLog::kFileName);
    if (!logDirectory.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(logDirectory, ignored);
    }
    Log().SetErrorHandler([this](const std::string& line) {
        if (failed_) return;
        failed_ = true;
        if (errorHandler_) errorHandler_(line);
    });
}

Device::~Device() {
    Log().Line("■■■お別れの時がやってまいりました■■■");
    Log().Indent();
    // Resources still registered are released here: their owners may already
    // be gone, so only the device side is freed.
    for (const Resource& r : resources_) {
        Log().Line(Format("ID %d(%s) のDGCaradリソースは、明示的に解放されていません", r.id,
                          r.name.c_str()));
    }
    Log().Line("DGCaradオブジェクトの解放に伴い、全ての関連オブジェクトを解放します");
    // The leftovers' owners may be gone: their callbacks are not called.
    resources_.clear();
    if (gl_ != nullptr) ReleaseDevice();
    Log().Line("OpenGLコンテキストの解放を行います");
    Log().Unindent();
    Log().Line("■■■それではごきげんよう■■■");
    Log().SetErrorHandler(nullptr);
}

template <typename Member>
void Device::CallAll(Member member) {
    // By index: a callback may register further resources.
    for (std::size_t i = 0; i < resources_.size(); ++i) {
        const auto& callback = resources_[i].callbacks.*member;
        if (callback) callback();
    }
}

void Device::Attach(QOpenGLContext* context) {
    context_ = context;
    gl_ = context ? context->extraFunctions() : nullptr;
    if (gl_ != nullptr) {
        gl_->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize_);
        while (gl_->glGetError() != GL_NO_ERROR) {
        }
    }
}

void Device::StartUp(QOpenGLContext* context, QSize clientSize) {
    Log().Line("");
    Log().Line("■■■起動時の初期化をします■■■");
    Log().Indent();
    Log().Line("OpenGLコンテキストを取得します");
    Attach(context);
    if (gl_ == nullptr) {
        Log().CheckResult(GL_INVALID_OPERATION, "OpenGLコンテキストすら生成できません、論外");
        Log().Unindent();
        return;
    }
    Log().Line("ウィンドウのクライアント領域のサイズに合わせて初期化を開始します");
    SetWindowMode(clientSize);
    Log().Unindent();
    Log().Line("■■■DGCarad 起動しました■■■");
    Log().Line("");
}

void Device::LogScreenMode() {
    Log().Line("■■■画面モードを初期化します■■■");
    Log().Indent();
    Log().Line("Driver : " + GlString(gl_, GL_RENDERER));
    Log().Line("Description : OpenGL " + GlString(gl_, GL_VERSION));
    Log().Line("Vendor : " + GlString(gl_, GL_VENDOR));
    Log().Line(Format("ウィンドウモード %dx%dで初期化します", size_.width(), size_.height()));
    const std::string renderer = GlString(gl_, GL_RENDERER);
    if (renderer.find("llvmpipe") != std::string::npos ||
        renderer.find("softpipe") != std::string::npos) {
        Log().Line("ソフトウェアエミュレーションを利用します");
    } else {
        Log().Line("ハードウェアアクセラレーションを利用します");
    }
    GLint depthBits = 0;
    gl_->glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH,
                                               GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
    while (gl_->glGetError() != GL_NO_ERROR) {
    }
    Log().Line("デプスステンシルサーフェスのフォーマット");
    Log().Line(depthBits >= 24 ? "D24S8" : depthBits >= 16 ? "D16" : "UNKNOWN");
    Log().Unindent();
}

void Device::SetWindowMode(QSize size) {
    if (gl_ == nullptr) return;
    if (size_.isValid()) ReleaseDevice();
    size_ = size;
    LogScreenMode();
    CreateDevice();
}

void Device::ReleaseDevice() {
    Log().Line("■■■OpenGLデバイスを解放します■■■");
    Log().Indent();
    Log().Line("全てのDGCaradリソースを解放します");
    CallAll(&ResourceCallbacks::onRelease);
    Log().Unindent();
}

void Device::CreateDevice() {
    Log().Line("OpenGLデバイスの生成を行います");
    Log().Line("全てのDGCaradリソースを再構築します");
    CallAll(&ResourceCallbacks::onRebuild);
}

void Device::ContextLost() {
    Log().Line("■■■OpenGLコンテキストが失われます■■■");
    CallAll(&ResourceCallbacks::onLost);
    gl_ = nullptr;
    context_ = nullptr;
}

void Device::ContextRestored(QOpenGLContext* context) {
    Attach(context);
    if (gl_ == nullptr) return;
    CallAll(&ResourceCallbacks::onReset);
    Log().Line("■■■OpenGLコンテキストを作り直しました■■■");
}

void Device::Reset() {
    Log().Line("■■■OpenGLデバイスをリセットします■■■");
    CallAll(&ResourceCallbacks::onLost);
    CallAll(&ResourceCallbacks::onReset);
    Log().Line("■■■OpenGLデバイスをリセットしました■■■");
}

int Device::RegisterResource(std::string_view className, std::string_view name,
                             ResourceCallbacks callbacks) {
    const int id = nextId_++;
    Log().Line(Format("DGCaradリソース(%s)を登録します ID は %d(%s) です",
                      std::string(className).c_str(), id, std::string(name).c_str()));
    resources_.push_back({id, std::string(className), std::string(name), std::move(callbacks)});
    return id;
}

void Device::UnregisterResource(int id) {
    for (auto it = resources_.begin(); it != resources_.end(); ++it) {
        if (it->id != id) continue;
        Log().Line(Format("DGCaradリソース(%s) : ID %d(%s) を登録解除します", it->className.c_str(),
                          id, it->name.c_str()));
        resources_.erase(it);
        return;
    }
    Log().CheckResult(
        GL_INVALID_VALUE,
        Format("リストに入ってないDGCaradリソース(ID:%d)が、UnregisterResource手続きに渡されました",
               id));
}

bool Device::Check(std::string_view what) {
    if (gl_ == nullptr) return false;
    const GLenum code = gl_->glGetError();
    if (code == GL_NO_ERROR) return true;
    while (gl_->glGetError() != GL_NO_ERROR) {
    }
    Log().CheckResult(static_cast<int>(code), what);
    return false;
}

}  // namespace velmora::view3d
