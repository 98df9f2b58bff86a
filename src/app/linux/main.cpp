#include <string>
#include <vector>

#include "app/run.h"
#include "util/utf.h"

int main(int argc, char** argv) {
    std::vector<std::wstring> words;
    for (int i = 1; i < argc; ++i)
        words.push_back(Utf8ToWide(argv[i]));
    return EntryPoint(words, CommandDialect::Posix, 0);
}
