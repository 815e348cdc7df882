#pragma once
#include <cstdint>
#include <string>
#include <vector>

// RIFF WAVE files built byte by byte for the audio tests.
namespace wavfixture {

std::string Le16(uint16_t value);
std::string Le32(uint32_t value);

// A chunk: id, size and body, padded to an even length. size overrides the stored size.
std::string Chunk(const std::string& id, const std::string& body);
std::string ChunkWithSize(const std::string& id, uint32_t size, const std::string& body);

// "RIFF" with form type "WAVE" around the given chunks.
std::string Riff(const std::string& chunks, const std::string& form = "WAVE");

// The 16 bytes of a "fmt " body (block align and byte rate derived).
std::string FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);

std::string Samples16(const std::vector<int16_t>& samples);
std::string Samples8(const std::vector<uint8_t>& samples);

// A complete PCM file.
std::string PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples);

}  // namespace wavfixture
