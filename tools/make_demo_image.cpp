// Writes a synthetic cartridge image to try the editor on.
#include "DemoImage.h"
#include "DemoNames.h"
#include "FilePath.h"
#include "ProgramArguments.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: make-demo-image [--headerless] [--unlabelled-types] [--megabits N] [--seed N]\n"
               "                       [--table-file TABLE] [--overwrite | --keep] FILE\n"
               "Writes a synthetic HiROM image with a copier header (or without, with --headerless).\n"
               "--megabits sets the cartridge size (default 32, i.e. 4 MiB; at least 3).\n"
               "The image holds the item names of an invented game in an invented encoding;\n"
               "--table-file writes the table file that reads them to TABLE, never over an image.\n"
               "An existing FILE or TABLE is an error unless --overwrite (replace it) or --keep\n"
               "(leave it, with the edits made to it) is given.\n",
               stderr);
    return 2;
}

bool parseNumber(const char *text, unsigned long &value)
{
    char *end = nullptr;
    value = std::strtoul(text, &end, 10);
    return end != text && *end == '\0';
}

bool reported(const std::string &error)
{
    if (!error.empty())
        std::fprintf(stderr, "make-demo-image: %s\n", error.c_str());
    return !error.empty();
}

bool writeImage(const std::string &path, const demo::DemoImageOptions &options, bool overwrite)
{
    return !reported(demo::writeImageFile(path, demo::makeDemoImage(options), overwrite));
}

// Written after the image, so that a table file named as the image (or as
// any other image) is refused rather than replaced by it or replacing it.
bool writeTable(const std::string &path, const std::string &imagePath, bool overwrite)
{
    const std::string text = demo::tableFileText(demo::NameEncoding{}, demo::NameTablePlace{});
    const rom::FilePath images[] = {rom::FilePath(imagePath)};
    return !reported(demo::writeOutputFile(path, std::vector<std::uint8_t>(text.begin(), text.end()), overwrite,
                                           images));
}

} // namespace

int main(int systemArgc, char **systemArgv)
{
    rom::ProgramArguments arguments(systemArgc, systemArgv);
    // On Windows the arguments come from the system's own command line,
    // which the system may split into another count than main's.
    const int argc = arguments.count();
    char **argv = arguments.values();
    demo::DemoImageOptions options;
    bool overwrite = false;
    bool keep = false;
    std::string path;
    std::string tablePath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long number = 0;
        if (arg == "--headerless") {
            options.layout = rom::ImageLayout::Headerless;
        } else if (arg == "--unlabelled-types") {
            options.unlabelledTypes = true;
        } else if (arg == "--overwrite") {
            overwrite = true;
        } else if (arg == "--keep") {
            keep = true;
        } else if (arg == "--megabits" && i + 1 < argc && parseNumber(argv[++i], number) && number >= 3 &&
                   number <= 512) {
            options.cartridgeSize = number * 1024 * 1024 / 8;
        } else if (arg == "--table-file" && i + 1 < argc && tablePath.empty() && *argv[i + 1]) {
            tablePath = argv[++i];
        } else if (arg == "--seed" && i + 1 < argc && parseNumber(argv[++i], number)) {
            options.seed = std::uint32_t(number);
        } else if (path.empty() && !arg.empty() && arg[0] != '-') {
            path = arg;
        } else {
            return usage();
        }
    }
    if (path.empty() || (overwrite && keep))
        return usage();
    if (!(keep && demo::fileExists(path)) && !writeImage(path, options, overwrite))
        return 1;
    if (!tablePath.empty() && !(keep && demo::fileExists(tablePath)) && !writeTable(tablePath, path, overwrite))
        return 1;
    return 0;
}
