#pragma once
// The few messages and questions the program shows outside its windows. Windows shows a
// message box; a terminal program prints (information to stdout, errors to stderr) and
// reads its answers from the terminal.
#include <string>

namespace platform {

enum class MessageIcon { Information, Error, Question, Warning };

// A question with the buttons Yes, No and Cancel, asked with a warning icon.
struct Question {
    std::wstring text;
    std::wstring caption;
    // One line naming the problem, for whoever cannot be asked (no terminal to answer on).
    std::wstring problem;
};
enum class Answer { Yes, No, Cancel };

class Ui {
  public:
    virtual ~Ui() = default;
    virtual void ShowMessage(const std::wstring& text, const std::wstring& caption,
                             MessageIcon icon) = 0;
    // Blocks the calling thread (only) until the user answers.
    virtual Answer Ask(const Question& question) = 0;
    // A failure that ended a run, for whoever looks later: the terminal's error stream, or
    // the log file "fennock.log" in the data folder of a windowed program.
    virtual void ReportFailure(const std::wstring& text, const std::wstring& dataFolder) = 0;
    // A silent run wrote its report here: a terminal prints the path for whoever runs the
    // program; a windowed program says nothing.
    virtual void AnnounceReport(const std::wstring& path) = 0;
};

}  // namespace platform
