// Writes the image fuzz seed inputs into a folder, one file each, for libFuzzer.
#include "FuzzImage.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    int number = 0;
    for (const auto &input : fuzz::seedInputs()) {
        std::ofstream file(folder / ("seed-" + std::to_string(++number)), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char *>(input.data()), std::streamsize(input.size()));
        if (!file) {
            std::fprintf(stderr, "make-fuzz-seeds: cannot write into %s\n", argv[1]);
            return 1;
        }
    }
    return 0;
}
