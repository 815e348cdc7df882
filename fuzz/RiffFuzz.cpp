// RIFF files through the multimedia file functions: walking the chunk tree (RIFF and LIST
// chunks entered, four deep), every chunk header, position, read and ascent is where the file's
// bytes say, and reading the "data" chunk through the handle's own buffer gives the file's bytes.
// Input: u8 (bit 0: open with a buffer of the handle's own), then the file.

#include <algorithm>
#include <string>

#include "base/WideString.h"
#include "fuzz/FuzzSupport.h"
#include "platform/dsound/Mmio.h"

namespace {

constexpr int kMaxDepth = 4;
constexpr int32_t kReadBytes = 64;
constexpr uint32_t kBufferedBytes = 3 * MMIO_DEFAULTBUFFER;

int64_t Position(HMMIO handle)
{
    return mmioSeek(handle, 0, MMIO_SEEK_CUR);
}

uint32_t Le32At(const std::string& file, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && at + i < file.size(); ++i)
        value |= static_cast<uint32_t>(static_cast<uint8_t>(file[at + i])) << (8 * i);
    return value;
}

std::string FileBytes(const std::string& file, int64_t at, size_t count)
{
    return at < static_cast<int64_t>(file.size()) ? file.substr(static_cast<size_t>(at), count) : std::string();
}

void Walk(HMMIO handle, const MMCKINFO* parent, int depth, const std::string& file)
{
    for (;;) {
        const int64_t start = Position(handle);
        MMCKINFO chunk{};
        if (mmioDescend(handle, &chunk, parent, 0) != MMSYSERR_NOERROR)
            return;
        const bool list = chunk.ckid == FOURCC_RIFF || chunk.ckid == FOURCC_LIST;
        FUZZ_CHECK(chunk.dwDataOffset == start + 8 && chunk.ckid == Le32At(file, start) &&
                   chunk.cksize == Le32At(file, start + 4));
        FUZZ_CHECK(Position(handle) == chunk.dwDataOffset + (list ? 4 : 0));
        if (list && depth < kMaxDepth) {
            Walk(handle, &chunk, depth + 1, file);
        } else {
            // A RIFF or LIST chunk past the depth limit is read after its form type, which the
            // descent has taken.
            char bytes[kReadBytes];
            const int32_t wanted = static_cast<int32_t>(std::min<uint32_t>(chunk.cksize, kReadBytes));
            const int32_t got = mmioRead(handle, bytes, wanted);
            FUZZ_CHECK(got >= 0 && got <= wanted);
            FUZZ_CHECK(std::string(bytes, got) == FileBytes(file, chunk.dwDataOffset + (list ? 4 : 0), got));
        }
        if (mmioAscend(handle, &chunk, 0) != MMSYSERR_NOERROR)
            return;
        FUZZ_CHECK(Position(handle) == int64_t{chunk.dwDataOffset} + chunk.cksize + (chunk.cksize & 1));
    }
}

// Finds "data" inside the first chunk and reads it through the buffer, as the WAV reader does.
void ReadDataBuffered(HMMIO handle, const std::string& file)
{
    MMCKINFO riff{};
    MMCKINFO data{};
    data.ckid = MakeFourCC('d', 'a', 't', 'a');
    MMIOINFO info{};
    if (mmioSeek(handle, 0, MMIO_SEEK_SET) != 0 || mmioDescend(handle, &riff, nullptr, 0) != MMSYSERR_NOERROR ||
        mmioDescend(handle, &data, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR ||
        mmioGetInfo(handle, &info, 0) != MMSYSERR_NOERROR)
        return;
    std::string read;
    const int64_t from = Position(handle);
    while (read.size() < std::min(data.cksize, kBufferedBytes)) {
        if (info.pchNext == info.pchEndRead &&
            (mmioAdvance(handle, &info, MMIO_READ) != MMSYSERR_NOERROR || info.pchNext == info.pchEndRead))
            break;
        read += static_cast<char>(*info.pchNext++);
    }
    FUZZ_CHECK(mmioSetInfo(handle, &info, 0) == MMSYSERR_NOERROR);
    FUZZ_CHECK(read == FileBytes(file, from, read.size()));
    FUZZ_CHECK(Position(handle) == from + static_cast<int64_t>(read.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint32_t flags = input.Take<uint8_t>() & 1 ? MMIO_ALLOCBUF : 0;
    const std::string file(reinterpret_cast<const char*>(input.Data()), input.Left());
    const std::string path = WriteFuzzFile("sound.riff", input.Data(), input.Left());
    HMMIO handle = mmioOpen(Utf8ToUtf16(path).c_str(), MMIO_READ | flags);
    FUZZ_CHECK(handle);
    Walk(handle, nullptr, 0, file);
    if (flags)
        ReadDataBuffered(handle, file);
    mmioClose(handle);
    return 0;
}
