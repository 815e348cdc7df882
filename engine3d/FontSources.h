#pragma once
#include <cstdint>

#include "base/Result.h"
#include "core/Stream.h"

// The sources a font description is read from, each read through read(CStream*) between the
// stream's Open and Close. A stream that does not open gives RES_FAIL.
template <class Read>
Result ReadOpenedStream(CStream* stream, Read read)
{
    if (Failed(stream->Open())) {
        IgnoreResult(stream->Close());
        return RES_FAIL;
    }
    const Result result = read(stream);
    IgnoreResult(stream->Close());
    return result;
}

// A block in memory that the caller keeps; null data gives RES_FAIL.
template <class Read>
Result ReadFromAddress(const uint8_t* data, uint32_t size, Read read)
{
    if (!data)
        return RES_FAIL;
    CStreamMemory stream(kStreamRead, data, size);
    return ReadOpenedStream(&stream, read);
}

template <class Read>
Result ReadFromFile(const char16_t* path, Read read)
{
    CStreamFile stream(kStreamRead, path);
    return ReadOpenedStream(&stream, read);
}
