// The 3D device: owns the GL side of the viewer. Every GPU resource
// registers here with four callbacks so that it can be released and made
// again when the context is lost and re-created (the part a device reset
// plays elsewhere). Everything is logged to DGCarad_DebugLog.txt; a failing
// GL call is logged with its code and reported once through the error
// handler, which switches the 3D view off (the game goes on).
#pragma once

#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QOpenGLContext;
class QOpenGLExtraFunctions;

namespace velmora::view3d {

struct ResourceCallbacks {
    std::function<void()> onRelease;  // free everything that lives on the device
    std::function<void()> onRebuild;  // make it again on a new device
    std::function<void()> onLost;     // free what does not survive a reset
    std::function<void()> onReset;    // restore after a reset
};

class Device {
  public:
    // Logs to dir/DGCarad_DebugLog.txt; an empty dir logs nothing.
    explicit Device(const std::string& logDirectory);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The first context: the start-up sequence, then the screen mode of the
    // client size.
    void StartUp(QOpenGLContext* context, QSize clientSize);
    // Releases the device's resources and makes them again for a new size.
    void SetWindowMode(QSize size);
    // The context is going away: every resource's on-lost callback.
    void ContextLost();
    // A new context after a loss: every resource's on-reset callback.
    void ContextRestored(QOpenGLContext* context);
    // Resets with the remembered parameters (lost, then reset).
    void Reset();

    int RegisterResource(std::string_view className, std::string_view name,
                         ResourceCallbacks callbacks);
    void UnregisterResource(int id);
    int ResourceCount() const { return static_cast<int>(resources_.size()); }

    // Logs a failing GL call (glGetError after the named step); false then.
    bool Check(std::string_view what);
    bool Failed() const { return failed_; }
    // Called once, at the first failure.
    void SetErrorHandler(std::function<void(const std::string&)> handler) {
        errorHandler_ = std::move(handler);
    }

    bool Ready() const { return gl_ != nullptr; }
    QOpenGLExtraFunctions& Gl() const { return *gl_; }
    QOpenGLContext* Context() const { return context_; }
    int MaxTextureSize() const { return maxTextureSize_; }
    QSize DisplaySize() const { return size_; }

  private:
    struct Resource {
        int id;
        std::string className;
        std::string name;
        ResourceCallbacks callbacks;
    };
    void Attach(QOpenGLContext* context);
    void LogScreenMode();
    void ReleaseDevice();
    void CreateDevice();
    template <typename Member>
    void CallAll(Member member);

    QOpenGLContext* context_ = nullptr;
    QOpenGLExtraFunctions* gl_ = nullptr;
    QSize size_;
    int maxTextureSize_ = 0;
    std::vector<Resource> resources_;
    int nextId_ = 0;
    bool failed_ = false;
    std::function<void(const std::string&)> errorHandler_;
};

}  // namespace velmora::view3d
