#include <cstdio>
#include <string_view>
#include <vector>

#include "app/CTapoApp.h"
#include "app/CommandLine.h"

int main(int argc, char** argv) {
    // --help and --version answer without a window, as command-line programs do.
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (const auto answer = quirtel::CommandLineAnswer(args, QUIRTEL_VERSION)) {
        const bool written =
            std::fwrite(answer->data(), 1, answer->size(), stdout) == answer->size();
        return std::fflush(stdout) == 0 && written ? 0 : 1;
    }
    quirtel::CTapoApp app(argc, argv);
    return app.Run();
}
