#pragma once
// The few messages the program shows outside its windows. Windows shows a message box;
// a terminal program prints (information to stdout, errors to stderr).
#include <string>

namespace platform {

enum class MessageIcon { Information, Error, Question, Warning };

class Ui {
  public:
    virtual ~Ui() = default;
    virtual void ShowMessage(const std::wstring& text, const std::wstring& caption,
                             MessageIcon icon) = 0;
    // A failure that ended a run, for whoever looks later: the terminal's error stream, or
    // the log file "fennock.log" in the data folder of a windowed program.
    virtual void ReportFailure(const std::wstring& text, const std::wstring& dataFolder) = 0;
    // A silent run wrote its report here: a terminal prints the path for whoever runs the
    // program; a windowed program says nothing.
    virtual void AnnounceReport(const std::wstring& path) = 0;
};

}  // namespace platform
