// The entry points of libFuzzer, shared by every fuzz target.
#include "FuzzSupport.h"

#include "platform/Exception.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        fuzzOneInput(data, size);
    } catch (const lq::Exception&) {
        // The model's failures are exceptions that its frames log and pass
        // on; one that reaches the caller is an answer, not a crash.
    }
    return 0;
}
