// Writes a generated booklist into a folder, for timing whole runs of the command-line program:
//   tallyleaf_make_booklist FOLDER [ENTRIES] [MATCHED]
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "booklist_generator.h"

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tallyleaf_make_booklist FOLDER [ENTRIES] [MATCHED]\n");
        return 2;
    }
    const int entries = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int matched = argc > 3 ? std::atoi(argv[3]) : 0;
    std::filesystem::create_directories(argv[1]);
    WriteGeneratedBooklist(argv[1], entries, matched);
    return 0;
}
