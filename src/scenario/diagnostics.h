// Findings about scenario files: errors stop a set-up, warnings skip one
// line. Each names the file and, where there is one, the line (from 1).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "files/paths.h"  // kMissingFileMessage

namespace velmora {

enum class Severity { kWarning, kError };

struct Finding {
    Severity severity = Severity::kWarning;
    std::string file;
    int line = 0;  // 0 when the finding is about the whole file
    std::string message;
};

// "file:line: warning: message" (the line left out when it is 0).
std::string FormatFinding(const Finding& f);

class Diagnostics {
public:
    void Warn(std::string file, int line, std::string message);
    void Error(std::string file, int line, std::string message);
    const std::vector<Finding>& Findings() const { return findings_; }
    int ErrorCount() const;
    int WarningCount() const;
    void Clear() { findings_.clear(); }

private:
    std::vector<Finding> findings_;
};

// A scenario file that stops the set-up: missing, unreadable, or a word that
// must be a number and is not. what() is the player's message.
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(std::string file, int line, const std::string& message);
    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& message() const { return message_; }

private:
    std::string file_;
    int line_;
    std::string message_;
};

}  // namespace velmora
