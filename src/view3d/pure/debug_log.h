// The 3D layer's debug log ("DGCarad_DebugLog.txt"): numbered lines
// "#00001 | text", two blanks per indentation level. The first line of a
// run creates the file afresh; later lines are appended.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace velmora::view3d {

class DebugLog {
  public:
    static constexpr const char* kFileName = "DGCarad_DebugLog.txt";

    // The one log of the 3D layer.
    static DebugLog& Instance();

    // Where the log goes; an empty path writes nothing.
    void SetFile(std::filesystem::path path);
    const std::filesystem::path& File() const { return file_; }
    void SetOptions(bool messages, bool detailed) {
        messages_ = messages;
        detailed_ = detailed;
    }
    // Called once per failing call after its line is logged; the device layer
    // switches the 3D view off there (the game goes on).
    void SetErrorHandler(std::function<void(const std::string&)> handler) {
        errorHandler_ = std::move(handler);
    }

    // An empty text writes a separator line.
    void Line(std::string_view text);
    // Written only with detailed messages on.
    void Detail(std::string_view text);
    void Indent() { ++indent_; }
    void Unindent() {
        if (indent_ > 0) --indent_;
    }
    // Logs text + "(Error Code = name)" and calls the error handler, unless
    // code is 0. Returns code.
    int CheckResult(int code, std::string_view text);
    // Starts a new run: the next line creates the file afresh.
    void Restart();
    int LinesWritten() const { return counter_; }

  private:
    std::filesystem::path file_;
    bool messages_ = true;
    bool detailed_ = true;
    int indent_ = 0;
    int counter_ = 0;
    std::function<void(const std::string&)> errorHandler_;
};

// The name of a GL error code as it appears in the log.
std::string GlErrorName(int code);

}  // namespace velmora::view3d
