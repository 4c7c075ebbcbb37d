#include "cli/console.h"

#ifdef _WIN32

// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace wienbridge {

namespace {

UINT codePageToRestore = 0;  // 0 while the console's code page is its own

// The console keeps the code page after the program ends, for whatever runs in it next: it
// gets its own back, once what is still buffered has been shown in UTF-8.
void restoreConsole()
{
    std::fflush(stdout);
    std::fflush(stderr);
    if (codePageToRestore != 0)
        SetConsoleOutputCP(codePageToRestore);
}

// Held for each write, and for good once the program is ending. The C library's own stream locks
// will not serve: MinGW-w64's _lock_file assumes where Windows' MSVCRT keeps them, and Wine's
// keeps them elsewhere.
SRWLOCK writes = SRWLOCK_INIT;

// Ctrl+C, Ctrl+Break, closing the console, logging off and shutting down come on a thread of
// their own, past atexit, while the main thread may be writing: a write under way ends whole,
// none starts after, and what is buffered is shown before the code page goes back. The program
// then ends here, with the status Ctrl+C gives by default, and nothing runs after: the system's
// handler would stop the main thread wherever it is and let each library clean up after it.
BOOL WINAPI restoreConsoleOnEvent(DWORD)
{
    AcquireSRWLockExclusive(&writes);
    restoreConsole();
    TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    return TRUE;
}

std::string toUtf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace

void prepareConsole()
{
    for (FILE* stream : {stdout, stderr}) {
        _setmode(_fileno(stream), _O_BINARY);
        // MSVCRT writes to an unbuffered console a byte at a time, and a console shown a UTF-8
        // character in pieces draws each piece as garbage (Wine's does): whole buffers instead.
        if (_isatty(_fileno(stream)))
            std::setvbuf(stream, nullptr, _IOFBF, 1 << 16);
    }
    const UINT before = GetConsoleOutputCP();  // 0 without a console
    if (before != 0 && before != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        codePageToRestore = before;
        std::atexit(restoreConsole);
    }
    SetConsoleCtrlHandler(restoreConsoleOnEvent, TRUE);
}

bool writeWhole(std::FILE* stream, std::string_view text)
{
    AcquireSRWLockExclusive(&writes);
    const bool whole = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    ReleaseSRWLockExclusive(&writes);
    return whole;
}

char** utf8Arguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    // The C library splits the command line by slightly different rules: should the two ever
    // disagree on the count, argv is the one that matches argc.
    if (wide == nullptr || count != argc) {
        LocalFree(wide);
        return argv;
    }
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    for (int i = 0; i < count; ++i)
        texts.push_back(toUtf8(wide[i]));
    LocalFree(wide);
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers.data();
}

}  // namespace wienbridge

#else

namespace wienbridge {

void prepareConsole() {}

bool writeWhole(std::FILE* stream, std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

char** utf8Arguments(int, char** argv)
{
    return argv;
}

}  // namespace wienbridge

#endif
