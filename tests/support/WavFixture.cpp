#include "tests/support/WavFixture.h"

namespace wavfixture {

std::string Le16(uint16_t value)
{
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string Le32(uint32_t value)
{
    return Le16(static_cast<uint16_t>(value & 0xFFFF)) + Le16(static_cast<uint16_t>(value >> 16));
}

std::string ChunkWithSize(const std::string& id, uint32_t size, const std::string& body)
{
    std::string chunk = id + Le32(size) + body;
    if (body.size() % 2)
        chunk += '\0';
    return chunk;
}

std::string Chunk(const std::string& id, const std::string& body)
{
    return ChunkWithSize(id, static_cast<uint32_t>(body.size()), body);
}

std::string Riff(const std::string& chunks, const std::string& form)
{
    return Chunk("RIFF", form + chunks);
}

std::string FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    uint16_t blockAlign = static_cast<uint16_t>(channels * bits / 8);
    return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * blockAlign) + Le16(blockAlign) + Le16(bits);
}

std::string Samples16(const std::vector<int16_t>& samples)
{
    std::string bytes;
    for (int16_t s : samples)
        bytes += Le16(static_cast<uint16_t>(s));
    return bytes;
}

std::string Samples8(const std::vector<uint8_t>& samples)
{
    return std::string(samples.begin(), samples.end());
}

std::string PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples)
{
    return Riff(Chunk("fmt ", FormatBody(1, channels, rate, bits)) + Chunk("data", samples));
}

}  // namespace wavfixture
