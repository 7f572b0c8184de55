#include <cstdio>
#include <cstring>
#include <exception>

#include "core/example_settings.h"
#include "settings_file/checked_file_writer.h"

// Run by the build: writes the example settings file the package ships. The same program writes the same
// bytes every time; a file already at the path is replaced only once the new one is complete.
int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fputs("Usage: tulvane-examples FILE.TV0\nWrites the example settings records to FILE.TV0.\n",
                   argc == 2 ? stdout : stderr);
        return argc == 2 ? 0 : 2;
    }
    try {
        CheckedFileWriter out(argv[1]);
        out.open();
        for (const TState& s : exampleSettings()) out.write(s.bytes.data(), s.bytes.size());
        out.commit();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tulvane-examples: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
