// Runs the image fuzz input without libFuzzer: the seed inputs, any input
// files named on the command line, then a bounded number of random
// mutations of the seeds. Each input is kept in fuzz-current-input while it
// runs, so one that stops the program can be run again.
#include "FuzzImage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace {

fuzz::Bytes mutate(fuzz::Bytes input, std::mt19937 &random)
{
    auto below = [&](std::size_t bound) { return bound == 0 ? 0 : std::size_t(random() % bound); };
    for (std::size_t change = 1 + below(8); change > 0; --change) {
        switch (below(4)) {
        case 0:
            if (!input.empty())
                input[below(input.size())] ^= std::uint8_t(1u << below(8));
            break;
        case 1:
            if (!input.empty())
                input[below(input.size())] = std::uint8_t(random());
            break;
        case 2: input.insert(input.begin() + std::ptrdiff_t(below(input.size() + 1)), std::uint8_t(random())); break;
        default:
            if (!input.empty())
                input.erase(input.begin() + std::ptrdiff_t(below(input.size())));
            break;
        }
    }
    return input;
}

void run(const fuzz::Bytes &input)
{
    std::ofstream("fuzz-current-input", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(input.data()), std::streamsize(input.size()));
    fuzz::runInput(input);
}

} // namespace

int main(int argc, char **argv)
{
    unsigned long runs = 2000;
    unsigned long seed = 1;
    for (int arg = 1; arg < argc; ++arg) {
        if (std::strcmp(argv[arg], "--runs") == 0 && arg + 1 < argc) {
            runs = std::strtoul(argv[++arg], nullptr, 10);
        } else if (std::strcmp(argv[arg], "--seed") == 0 && arg + 1 < argc) {
            seed = std::strtoul(argv[++arg], nullptr, 10);
        } else {
            std::ifstream file(argv[arg], std::ios::binary);
            if (!file) {
                std::fprintf(stderr, "fuzz_image: cannot read %s\n", argv[arg]);
                return 2;
            }
            run(fuzz::Bytes(std::istreambuf_iterator<char>(file), {}));
        }
    }
    const auto seeds = fuzz::seedInputs();
    for (const auto &input : seeds)
        run(input);
    std::printf("fuzz_image: %lu random inputs from seed %lu\n", runs, seed);
    std::mt19937 random(std::uint32_t(seed & 0xFFFFFFFF));
    for (unsigned long count = 0; count < runs; ++count)
        run(mutate(seeds[random() % seeds.size()], random));
    std::remove("fuzz-current-input");
    return 0;
}
