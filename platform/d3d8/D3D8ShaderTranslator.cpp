#include "platform/d3d8/D3D8ShaderTranslator.h"

#include <cstdio>
#include <vector>

using namespace D3D8Shader;

namespace {

class CTranslator {
public:
    CTranslator(const CProgram& program, CD3D8PixelShaderCode& code) : m_program(program), m_code(code) {}

    bool Run(std::string& error);

private:
    bool Wide() const { return m_program.minor >= 4; }
    bool Exists(const CRegister& reg) const;
    bool Operands(const CInstruction& instruction);
    std::string Name(const CRegister& reg) const;
    std::string Coordinates(DWORD number) { return "coord" + std::to_string(number); }
    std::string Sample(DWORD stage, const std::string& where);
    bool Read(const CSource& source, std::string& text);
    bool Result(const CInstruction& instruction, std::string& text);
    std::string Write(const CInstruction& instruction, const std::string& value) const;
    std::string Constants() const;

    const CProgram& m_program;
    CD3D8PixelShaderCode& m_code;
    std::vector<std::string> m_defined = std::vector<std::string>(8);
    std::string m_error;
};

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(value));
    std::string result = text;
    if (result.find_first_of(".eEn") == std::string::npos)
        result += ".0";
    return result;
}

bool CTranslator::Exists(const CRegister& reg) const
{
    switch (reg.type) {
    case kTemp:
        return reg.number < (Wide() ? 6u : 2u);
    case kInput:
        return reg.number < 2;
    case kConst:
        return reg.number < 8;
    case kTexture:
        return reg.number < (Wide() ? 6u : 4u);
    default:
        return false;
    }
}

bool CTranslator::Operands(const CInstruction& instruction)
{
    bool known = !instruction.hasDestination || Exists(instruction.destination.reg);
    for (const CSource& source : instruction.sources)
        known = known && Exists(source.reg);
    if (!known)
        m_error = "register out of range in instruction " + std::to_string(instruction.opcode);
    return known;
}

std::string CTranslator::Name(const CRegister& reg) const
{
    static const char* const kPrefix[] = {"r", "v", "c", "t"};
    return kPrefix[reg.type & 3] + std::to_string(reg.number);
}

std::string CTranslator::Sample(DWORD stage, const std::string& where)
{
    m_code.samplers |= 1u << stage;
    return "texture2D(uSampler" + std::to_string(stage) + ", " + where + ")";
}

bool CTranslator::Read(const CSource& source, std::string& text)
{
    if (source.reg.type > kTexture || (Wide() && source.reg.type == kTexture)) {
        m_error = "register " + Name(source.reg) + " cannot be read here";
        return false;
    }
    text = Name(source.reg);
    if (source.swizzle != kSwizzleIdentity) {
        static const char kLetters[] = "xyzw";
        std::string letters;
        for (int i = 0; i < 4; ++i)
            letters += kLetters[(source.swizzle >> (i * 2)) & 3];
        text += "." + letters;
    }
    switch (source.modifier) {
    case kSourceNone:
        return true;
    case kSourceNegate:
        text = "(-" + text + ")";
        return true;
    case kSourceBias:
        text = "(" + text + " - vec4(0.5))";
        return true;
    case kSourceBiasNegate:
        text = "(vec4(0.5) - " + text + ")";
        return true;
    case kSourceSign:
        text = "(2.0 * " + text + " - vec4(1.0))";
        return true;
    case kSourceSignNegate:
        text = "(vec4(1.0) - 2.0 * " + text + ")";
        return true;
    case kSourceComplement:
        text = "(vec4(1.0) - " + text + ")";
        return true;
    case kSourceX2:
        text = "(2.0 * " + text + ")";
        return true;
    case kSourceX2Negate:
        text = "(-2.0 * " + text + ")";
        return true;
    default:
        m_error = "source modifier " + std::to_string(source.modifier) + " not handled";
        return false;
    }
}

bool CTranslator::Result(const CInstruction& instruction, std::string& text)
{
    DWORD target = instruction.destination.reg.number;
    std::vector<std::string> in(instruction.sources.size());
    bool coordinateSource = Wide() && (instruction.opcode == kTex || instruction.opcode == kTexCoord);
    for (size_t i = 0; i < in.size(); ++i) {
        const CSource& source = instruction.sources[i];
        if (coordinateSource && source.reg.type == kTexture)
            in[i] = Coordinates(source.reg.number);
        else if (!Read(source, in[i]))
            return false;
    }
    switch (instruction.opcode) {
    case kMov:
        text = in[0];
        return true;
    case kAdd:
        text = in[0] + " + " + in[1];
        return true;
    case kSub:
        text = in[0] + " - " + in[1];
        return true;
    case kMul:
        text = in[0] + " * " + in[1];
        return true;
    case kMad:
        text = in[0] + " * " + in[1] + " + " + in[2];
        return true;
    case kLrp:
        text = "mix(" + in[2] + ", " + in[1] + ", " + in[0] + ")";
        return true;
    case kDp3:
        text = "vec4(dot(" + in[0] + ".xyz, " + in[1] + ".xyz))";
        return true;
    case kDp4:
        text = "vec4(dot(" + in[0] + ", " + in[1] + "))";
        return true;
    case kCnd:
        text = Wide() ? "mix(" + in[2] + ", " + in[1] + ", vec4(greaterThan(" + in[0] + ", vec4(0.5))))"
                      : "(" + in[0] + ".w > 0.5 ? " + in[1] + " : " + in[2] + ")";
        return true;
    case kCmp:
        text = "mix(" + in[2] + ", " + in[1] + ", vec4(greaterThanEqual(" + in[0] + ", vec4(0.0))))";
        return true;
    case kTex:
        text = Sample(target, (Wide() ? in[0] : Coordinates(target)) + ".xy");
        return true;
    case kTexCoord:
        text = Wide() ? in[0] : "vec4(clamp(" + Coordinates(target) + ".xyz, 0.0, 1.0), 1.0)";
        return true;
    case kTexReg2Ar:
        text = Sample(target, "vec2(" + in[0] + ".w, " + in[0] + ".x)");
        return true;
    case kTexReg2Gb:
        text = Sample(target, in[0] + ".yz");
        return true;
    case kTexReg2Rgb:
        text = Sample(target, in[0] + ".xy");
        return true;
    default:
        m_error = "instruction " + std::to_string(instruction.opcode) + " not handled";
        return false;
    }
}

std::string CTranslator::Write(const CInstruction& instruction, const std::string& value) const
{
    const CDestination& destination = instruction.destination;
    std::string scaled = value;
    if (destination.shift > 0)
        scaled = "(" + value + " * " + Number(static_cast<float>(1 << destination.shift)) + ")";
    else if (destination.shift < 0)
        scaled = "(" + value + " / " + Number(static_cast<float>(1 << -destination.shift)) + ")";
    std::string range = Wide() ? "8.0" : "1.0";
    std::string clamped = destination.saturate ? "clamp(" + scaled + ", 0.0, 1.0)"
                                               : "clamp(" + scaled + ", -" + range + ", " + range + ")";
    std::string name = Name(destination.reg);
    if (destination.mask == 0xF)
        return "    " + name + " = " + clamped + ";\n";
    std::string letters;
    for (int i = 0; i < 4; ++i) {
        if (destination.mask & (1u << i))
            letters += "xyzw"[i];
    }
    return "    " + name + "." + letters + " = (" + clamped + ")." + letters + ";\n";
}

std::string CTranslator::Constants() const
{
    std::string text;
    for (int i = 0; i < 8; ++i) {
        std::string value = m_defined[i].empty() ? "vec4(0.0)" : m_defined[i];
        text += "    vec4 c" + std::to_string(i) + " = " + value + ";\n";
    }
    return text;
}

bool CTranslator::Run(std::string& error)
{
    std::string statements;
    const std::vector<CInstruction>& instructions = m_program.instructions;
    for (size_t i = 0; i < instructions.size();) {
        size_t end = i + 1;
        while (end < instructions.size() && instructions[end].coissue)
            ++end;
        std::string writes;
        for (size_t k = i; k < end; ++k) {
            const CInstruction& instruction = instructions[k];
            if (instruction.opcode == kNop || instruction.opcode == kPhase)
                continue;
            if (!Operands(instruction)) {
                error = m_error;
                return false;
            }
            if (instruction.opcode == kDef) {
                const std::array<float, 4>& c = instruction.constant;
                auto limit = [](float v) { return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v); };
                m_defined[instruction.destination.reg.number] = "vec4(" + Number(limit(c[0])) + ", " +
                                                                    Number(limit(c[1])) + ", " + Number(limit(c[2])) +
                                                                    ", " + Number(limit(c[3])) + ")";
                continue;
            }
            if (instruction.opcode == kTexKill) {
                const CRegister& reg = instruction.destination.reg;
                std::string where = reg.type == kTexture ? Coordinates(reg.number) : Name(reg);
                statements += "    if (any(lessThan(" + where + ".xyz, vec3(0.0)))) discard;\n";
                continue;
            }
            std::string value;
            if (!Result(instruction, value)) {
                error = m_error;
                return false;
            }
            std::string temporary = "result" + std::to_string(k);
            statements += "    vec4 " + temporary + " = " + value + ";\n";
            writes += Write(instruction, temporary);
        }
        statements += writes;
        i = end;
    }
    std::string registers = "    vec4 r0 = vec4(0.0), r1 = vec4(0.0), r2 = vec4(0.0), r3 = vec4(0.0), "
                            "r4 = vec4(0.0), r5 = vec4(0.0);\n"
                            "    vec4 t0 = vec4(0.0), t1 = vec4(0.0), t2 = vec4(0.0), t3 = vec4(0.0);\n"
                            "    vec4 v0 = gl_Color, v1 = gl_SecondaryColor;\n";
    m_code.body = registers + Constants() + statements + "    color = clamp(r0, 0.0, 1.0);\n";
    return true;
}

} // namespace

bool D3D8TranslatePixelShader(const CProgram& program, CD3D8PixelShaderCode& code, std::string& error)
{
    code = CD3D8PixelShaderCode{};
    CTranslator translator(program, code);
    return translator.Run(error);
}
