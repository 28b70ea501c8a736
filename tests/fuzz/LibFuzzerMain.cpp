// The libFuzzer entry point: libFuzzer supplies main and the inputs.
#include "FuzzImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::runInput({data, size});
    return 0;
}
