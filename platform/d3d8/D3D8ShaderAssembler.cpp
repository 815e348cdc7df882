#include "platform/d3d8/D3D8ShaderAssembler.h"

#include <cctype>
#include <cstdlib>
#include <vector>

using namespace D3D8Shader;

namespace {

struct CLine {
    int number;
    std::string text;
};

struct COpcodeName {
    const char* name;
    DWORD opcode;
    DWORD firstMinor;
    DWORD lastMinor;
};

constexpr COpcodeName kOpcodes[] = {
    {"nop", kNop, 0, 4},          {"mov", kMov, 0, 4},           {"add", kAdd, 0, 4},
    {"sub", kSub, 0, 4},          {"mul", kMul, 0, 4},           {"mad", kMad, 0, 4},
    {"lrp", kLrp, 0, 4},          {"dp3", kDp3, 0, 4},           {"dp4", kDp4, 2, 4},
    {"cnd", kCnd, 0, 4},          {"cmp", kCmp, 2, 4},           {"def", kDef, 0, 4},
    {"tex", kTex, 0, 3},          {"texcoord", kTexCoord, 0, 3}, {"texkill", kTexKill, 0, 4},
    {"texreg2ar", kTexReg2Ar, 0, 3}, {"texreg2gb", kTexReg2Gb, 0, 3}, {"texreg2rgb", kTexReg2Rgb, 2, 3},
    {"texld", kTex, 4, 4},        {"texcrd", kTexCoord, 4, 4},   {"phase", kPhase, 4, 4},
};

const char* const kNotHandled[] = {
    "texbem",    "texbeml",     "texm3x2pad",   "texm3x2tex", "texm3x3pad", "texm3x3tex", "texm3x3spec",
    "texm3x3vspec", "texdp3",   "texdp3tex",    "texm3x3",    "texm3x2depth", "texdepth", "bem",
};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

// Lines without comments, numbered from 1.
std::vector<CLine> Lines(const char* text, size_t length)
{
    std::vector<CLine> lines;
    std::string current;
    int number = 1;
    bool block = false;
    for (size_t i = 0; i < length && text[i] != '\0'; ++i) {
        char c = text[i];
        char next = (i + 1 < length) ? text[i + 1] : '\0';
        if (block) {
            if (c == '*' && next == '/') {
                block = false;
                ++i;
            } else if (c == '\n') {
                lines.push_back({number++, current});
                current.clear();
            }
            continue;
        }
        if (c == '/' && next == '*') {
            block = true;
            ++i;
        } else if ((c == '/' && next == '/') || c == ';') {
            while (i < length && text[i] != '\n' && text[i] != '\0')
                ++i;
            --i;
        } else if (c == '\n') {
            lines.push_back({number++, current});
            current.clear();
        } else {
            current += c;
        }
    }
    lines.push_back({number, current});
    return lines;
}

class CAssembler {
public:
    CAssembler(CProgram& program, std::string& errors) : m_program(program), m_errors(errors) {}

    void Run(const std::vector<CLine>& lines);

private:
    void Fail(const std::string& message) { m_errors += "(" + std::to_string(m_line) + "): error: " + message + "\n"; }
    bool Version(const std::string& text);
    void Statement(std::string text);
    bool Mnemonic(const std::string& word, CInstruction& instruction);
    bool Register(const std::string& text, CRegister& reg);
    bool InRange(const CRegister& reg);
    bool Destination(const std::string& text, CDestination& destination);
    bool Source(const std::string& text, CSource& source);
    bool Define(const std::vector<std::string>& operands, CInstruction& instruction);
    bool Check(const CInstruction& instruction);

    CProgram& m_program;
    std::string& m_errors;
    int m_line = 0;
    bool m_versioned = false;
    bool m_phased = false;
};

void CAssembler::Run(const std::vector<CLine>& lines)
{
    for (const CLine& line : lines) {
        m_line = line.number;
        std::string text = Trim(line.text);
        if (text.empty())
            continue;
        if (!m_versioned) {
            if (!Version(Lower(text)))
                return;
            m_versioned = true;
            continue;
        }
        Statement(text);
    }
    if (!m_versioned)
        Fail("no shader version");
}

bool CAssembler::Version(const std::string& text)
{
    if (text.rfind("vs", 0) == 0) {
        Fail("vertex shaders are not handled");
        return false;
    }
    if (text.size() != 6 || text[0] != 'p' || text[1] != 's' || (text[2] != '.' && text[2] != '_') ||
        text[3] != '1' || text[4] != text[2] || text[5] < '0' || text[5] > '4') {
        Fail("expected a version ps.1.1 to ps.1.4, found '" + text + "'");
        return false;
    }
    m_program.major = 1;
    m_program.minor = text[5] == '0' ? 1 : static_cast<DWORD>(text[5] - '0');
    return true;
}

bool CAssembler::Mnemonic(const std::string& word, CInstruction& instruction)
{
    std::vector<std::string> parts = Split(Lower(word), '_');
    for (const char* name : kNotHandled) {
        if (parts[0] == name) {
            Fail("instruction '" + parts[0] + "' is not handled");
            return false;
        }
    }
    const COpcodeName* found = nullptr;
    for (const COpcodeName& entry : kOpcodes) {
        if (parts[0] == entry.name)
            found = &entry;
    }
    if (!found) {
        Fail("unknown instruction '" + parts[0] + "'");
        return false;
    }
    if (m_program.minor < found->firstMinor || m_program.minor > found->lastMinor) {
        Fail("'" + parts[0] + "' does not exist in ps.1." + std::to_string(m_program.minor));
        return false;
    }
    instruction.opcode = found->opcode;
    for (size_t i = 1; i < parts.size(); ++i) {
        const std::string& modifier = parts[i];
        bool wide = m_program.minor >= 4;
        if (modifier == "sat")
            instruction.destination.saturate = true;
        else if (modifier == "x2")
            instruction.destination.shift = 1;
        else if (modifier == "x4")
            instruction.destination.shift = 2;
        else if (modifier == "d2")
            instruction.destination.shift = -1;
        else if (modifier == "x8" && wide)
            instruction.destination.shift = 3;
        else if (modifier == "d4" && wide)
            instruction.destination.shift = -2;
        else if (modifier == "d8" && wide)
            instruction.destination.shift = -3;
        else {
            Fail("unknown instruction modifier '_" + modifier + "'");
            return false;
        }
    }
    return true;
}

bool CAssembler::Register(const std::string& text, CRegister& reg)
{
    if (text.size() < 2 || !std::isdigit(static_cast<unsigned char>(text[1]))) {
        Fail("expected a register, found '" + text + "'");
        return false;
    }
    switch (std::tolower(static_cast<unsigned char>(text[0]))) {
    case 'r':
        reg.type = kTemp;
        break;
    case 'v':
        reg.type = kInput;
        break;
    case 'c':
        reg.type = kConst;
        break;
    case 't':
        reg.type = kTexture;
        break;
    default:
        Fail("unknown register '" + text + "'");
        return false;
    }
    for (size_t i = 1; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            Fail("bad register '" + text + "'");
            return false;
        }
    }
    reg.number = static_cast<DWORD>(std::atoi(text.c_str() + 1));
    if (!InRange(reg)) {
        Fail("register '" + text + "' does not exist in ps.1." + std::to_string(m_program.minor));
        return false;
    }
    return true;
}

bool CAssembler::InRange(const CRegister& reg)
{
    bool wide = m_program.minor >= 4;
    switch (reg.type) {
    case kTemp:
        return reg.number < (wide ? 6u : 2u);
    case kTexture:
        return reg.number < (wide ? 6u : 4u);
    case kInput:
        return reg.number < 2;
    default:
        return reg.number < 8;
    }
}

bool CAssembler::Destination(const std::string& text, CDestination& destination)
{
    std::vector<std::string> parts = Split(Lower(text), '.');
    if (parts.size() > 2 || !Register(Trim(parts[0]), destination.reg))
        return false;
    if (parts.size() == 1)
        return true;
    destination.mask = 0;
    int last = -1;
    for (char c : parts[1]) {
        int component = std::string("rgba").find(c) != std::string::npos ? static_cast<int>(std::string("rgba").find(c))
                                                                         : static_cast<int>(std::string("xyzw").find(c));
        if (component < 0 || component <= last) {
            Fail("bad write mask '." + parts[1] + "'");
            return false;
        }
        last = component;
        destination.mask |= 1u << component;
    }
    if (destination.mask == 0)
        Fail("empty write mask");
    return destination.mask != 0;
}

bool CAssembler::Source(const std::string& text, CSource& source)
{
    std::string rest = Lower(Trim(text));
    bool negate = false;
    bool complement = false;
    if (rest.rfind("1-", 0) == 0) {
        complement = true;
        rest = Trim(rest.substr(2));
    } else if (!rest.empty() && rest[0] == '-') {
        negate = true;
        rest = Trim(rest.substr(1));
    }
    size_t end = rest.find_first_of("._");
    if (!Register(rest.substr(0, end), source.reg))
        return false;
    DWORD modifier = kSourceNone;
    while (end != std::string::npos) {
        char kind = rest[end];
        size_t next = rest.find_first_of("._", end + 1);
        std::string part = rest.substr(end + 1, next == std::string::npos ? std::string::npos : next - end - 1);
        end = next;
        if (kind == '_') {
            if (part == "bias")
                modifier = kSourceBias;
            else if (part == "bx2")
                modifier = kSourceSign;
            else if (part == "x2" && m_program.minor >= 4)
                modifier = kSourceX2;
            else if (part == "dz" || part == "dw" || part == "db" || part == "da") {
                Fail("projected texture reads ('_" + part + "') are not handled");
                return false;
            } else {
                Fail("unknown source modifier '_" + part + "'");
                return false;
            }
            continue;
        }
        static const std::string kReplicate[4] = {"r", "g", "b", "a"};
        static const std::string kAlternate[4] = {"x", "y", "z", "w"};
        bool matched = false;
        for (DWORD i = 0; i < 4; ++i) {
            if (part == kReplicate[i] || part == kAlternate[i]) {
                source.swizzle = i | (i << 2) | (i << 4) | (i << 6);
                matched = true;
            }
        }
        if (part == "rgba" || part == "xyzw" || part == "rgb" || part == "xyz")
            matched = true;
        if (!matched) {
            Fail("selector '." + part + "' is not handled");
            return false;
        }
    }
    if (complement && modifier != kSourceNone) {
        Fail("'1-' does not combine with other source modifiers");
        return false;
    }
    if (complement)
        modifier = kSourceComplement;
    else if (negate)
        modifier = modifier == kSourceBias ? kSourceBiasNegate
                 : modifier == kSourceSign ? kSourceSignNegate
                 : modifier == kSourceX2   ? kSourceX2Negate
                                           : kSourceNegate;
    source.modifier = modifier;
    return true;
}

bool CAssembler::Define(const std::vector<std::string>& operands, CInstruction& instruction)
{
    if (operands.size() != 5) {
        Fail("def takes a constant register and four values");
        return false;
    }
    if (!Destination(operands[0], instruction.destination))
        return false;
    if (instruction.destination.reg.type != kConst) {
        Fail("def writes only constant registers");
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        std::string value = Trim(operands[i + 1]);
        char* end = nullptr;
        instruction.constant[i] = std::strtof(value.c_str(), &end);
        if (value.empty() || (end && *end != '\0' && *end != 'f')) {
            Fail("bad constant value '" + value + "'");
            return false;
        }
    }
    return true;
}

bool CAssembler::Check(const CInstruction& instruction)
{
    const CRegister& target = instruction.destination.reg;
    bool wide = m_program.minor >= 4;
    if (!instruction.hasDestination)
        return true;
    if (target.type == kInput || (target.type == kConst && instruction.opcode != kDef)) {
        Fail("the destination register cannot be written");
        return false;
    }
    bool textureOp = instruction.opcode == kTex || instruction.opcode == kTexCoord ||
                     instruction.opcode == kTexReg2Ar || instruction.opcode == kTexReg2Gb ||
                     instruction.opcode == kTexReg2Rgb;
    if (textureOp && !wide && target.type != kTexture) {
        Fail("texture instructions write texture registers");
        return false;
    }
    if (wide && target.type == kTexture && instruction.opcode != kTexKill) {
        Fail("texture registers are read-only in ps.1.4");
        return false;
    }
    if (wide && (instruction.opcode == kTex || instruction.opcode == kTexCoord)) {
        const CSource& source = instruction.sources[0];
        bool readsTemp = source.reg.type == kTemp && instruction.opcode == kTex && m_phased;
        if (source.reg.type != kTexture && !readsTemp) {
            Fail("texld and texcrd read texture coordinates (texld a temporary register after phase)");
            return false;
        }
    }
    return true;
}

void CAssembler::Statement(std::string text)
{
    CInstruction instruction;
    instruction.line = m_line;
    if (text[0] == '+') {
        instruction.coissue = true;
        text = Trim(text.substr(1));
    }
    size_t space = text.find_first_of(" \t");
    std::string word = text.substr(0, space);
    std::vector<std::string> operands;
    if (space != std::string::npos && !Trim(text.substr(space)).empty())
        operands = Split(text.substr(space), ',');
    if (!Mnemonic(word, instruction))
        return;
    instruction.hasDestination = HasDestination(instruction.opcode);
    if (instruction.opcode == kDef) {
        if (Define(operands, instruction)) {
            instruction.hasDestination = true;
            m_program.instructions.push_back(instruction);
        }
        return;
    }
    if (instruction.opcode == kPhase)
        m_phased = true;
    int sources = SourceCount(instruction.opcode, m_program.minor);
    size_t expected = static_cast<size_t>(sources) + (instruction.hasDestination ? 1 : 0);
    if (operands.size() != expected) {
        Fail("'" + word + "' takes " + std::to_string(expected) + " operands");
        return;
    }
    size_t next = 0;
    if (instruction.hasDestination && !Destination(operands[next++], instruction.destination))
        return;
    for (int i = 0; i < sources; ++i) {
        CSource source;
        if (!Source(operands[next++], source))
            return;
        instruction.sources.push_back(source);
    }
    if (Check(instruction))
        m_program.instructions.push_back(instruction);
}

} // namespace

bool D3D8AssemblePixelShader(const char* text, size_t length, CProgram& program, std::string& errors)
{
    program = CProgram{};
    errors.clear();
    if (!text) {
        errors = "(0): error: no shader text\n";
        return false;
    }
    CAssembler assembler(program, errors);
    assembler.Run(Lines(text, length));
    return errors.empty();
}
