#include "scenario/diagnostics.h"

#include <algorithm>

namespace velmora {
namespace {

std::string Location(const std::string& file, int line) {
    return line > 0 ? file + ":" + std::to_string(line) : file;
}

}  // namespace

std::string FormatFinding(const Finding& f) {
    return Location(f.file, f.line) +
           (f.severity == Severity::kError ? ": error: " : ": warning: ") + f.message;
}

void Diagnostics::Warn(std::string file, int line, std::string message) {
    findings_.push_back({Severity::kWarning, std::move(file), line, std::move(message)});
}

void Diagnostics::Error(std::string file, int line, std::string message) {
    findings_.push_back({Severity::kError, std::move(file), line, std::move(message)});
}

int Diagnostics::ErrorCount() const {
    return static_cast<int>(std::count_if(findings_.begin(), findings_.end(), [](const Finding& f) {
        return f.severity == Severity::kError;
    }));
}

int Diagnostics::WarningCount() const {
    return static_cast<int>(findings_.size()) - ErrorCount();
}

ScenarioError::ScenarioError(std::string file, int line, const std::string& message)
    : std::runtime_error(Location(file, line) + ": " + message),
      file_(std::move(file)),
      line_(line),
      message_(message) {}

}  // namespace velmora
