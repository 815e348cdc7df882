#include "platform/d3d8/D3D8FixedFunction.h"

#include <functional>
#include <string_view>

namespace {

std::string N(UINT value)
{
    return std::to_string(value);
}

const char* SourceName(ED3D8ColorSource source, const char* material)
{
    switch (source) {
    case ED3D8ColorSource::VertexDiffuse:
        return "vertexDiffuse";
    case ED3D8ColorSource::VertexSpecular:
        return "vertexSpecular";
    default:
        return material;
    }
}

std::string FogFunction(DWORD formula)
{
    std::string text = "float FogFactor(float d) {\n";
    if (formula == D3DFOG_LINEAR)
        text += "    float span = uFog.y - uFog.x;\n"
                "    return span == 0.0 ? (d < uFog.y ? 1.0 : 0.0) : (uFog.y - d) / span;\n";
    else if (formula == D3DFOG_EXP)
        text += "    return exp(-uFog.z * d);\n";
    else if (formula == D3DFOG_EXP2)
        text += "    return exp(-(uFog.z * d) * (uFog.z * d));\n";
    else
        text += "    return 1.0;\n";
    return text + "}\n";
}

std::string LightingUniforms(UINT lights)
{
    std::string text = "uniform vec4 uMaterialDiffuse;\nuniform vec4 uMaterialAmbient;\n"
                       "uniform vec4 uMaterialSpecular;\nuniform vec4 uMaterialEmissive;\n"
                       "uniform float uMaterialPower;\nuniform vec4 uAmbient;\n";
    if (lights == 0)
        return text;
    std::string size = "[" + N(lights) + "];\n";
    return text + "uniform vec4 uLightDiffuse" + size + "uniform vec4 uLightSpecular" + size +
           "uniform vec4 uLightAmbient" + size + "uniform vec4 uLightPosition" + size +
           "uniform vec4 uLightDirection" + size + "uniform vec4 uLightAttenuation" + size +
           "uniform vec4 uLightSpot" + size;
}

std::string Lighting(const CD3D8VertexKey& key)
{
    std::string text = key.normal ? "    vec3 normal = uNormalMatrix * aNormal;\n" : "    vec3 normal = vec3(0.0);\n";
    if (key.normalize)
        text += "    if (length(normal) > 0.0) normal = normalize(normal);\n";
    text += std::string("    vec4 materialDiffuse = ") + SourceName(key.diffuseSource, "uMaterialDiffuse") + ";\n" +
            "    vec4 materialAmbient = " + SourceName(key.ambientSource, "uMaterialAmbient") + ";\n" +
            "    vec4 materialSpecular = " + SourceName(key.specularSource, "uMaterialSpecular") + ";\n" +
            "    vec4 materialEmissive = " + SourceName(key.emissiveSource, "uMaterialEmissive") + ";\n" +
            "    vec3 ambientSum = vec3(0.0);\n    vec3 diffuseSum = vec3(0.0);\n    vec3 specularSum = vec3(0.0);\n";
    if (key.lights > 0) {
        text += "    for (int i = 0; i < " + N(key.lights) + "; ++i) {\n"
                "        vec3 toLight;\n"
                "        float factor = 1.0;\n"
                "        if (uLightPosition[i].w == 3.0) {\n"
                "            toLight = -normalize(uLightDirection[i].xyz);\n"
                "        } else {\n"
                "            vec3 offset = uLightPosition[i].xyz - eye.xyz;\n"
                "            float d = length(offset);\n"
                "            if (d > uLightAttenuation[i].w) continue;\n"
                "            toLight = d > 0.0 ? offset / d : vec3(0.0, 0.0, -1.0);\n"
                "            float falloff = uLightAttenuation[i].x + uLightAttenuation[i].y * d + "
                "uLightAttenuation[i].z * d * d;\n"
                "            factor = 1.0 / max(falloff, 1e-20);\n"
                "            if (uLightPosition[i].w == 2.0) {\n"
                "                float rho = dot(-toLight, normalize(uLightDirection[i].xyz));\n"
                "                if (rho <= uLightSpot[i].y) factor = 0.0;\n"
                "                else if (rho <= uLightSpot[i].x) factor *= pow((rho - uLightSpot[i].y) / "
                "(uLightSpot[i].x - uLightSpot[i].y), uLightSpot[i].z);\n"
                "            }\n"
                "        }\n"
                "        ambientSum += uLightAmbient[i].rgb * factor;\n"
                "        float lambert = max(dot(normal, toLight), 0.0);\n"
                "        diffuseSum += uLightDiffuse[i].rgb * lambert * factor;\n";
        if (key.specularLighting) {
            text += key.localViewer ? "        vec3 viewer = length(eye.xyz) > 0.0 ? normalize(-eye.xyz) : vec3(0.0, 0.0, -1.0);\n"
                                    : "        vec3 viewer = vec3(0.0, 0.0, -1.0);\n";
            text += "        float facing = max(dot(normal, normalize(toLight + viewer)), 0.0);\n"
                    "        if (lambert > 0.0 && facing > 0.0)\n"
                    "            specularSum += uLightSpecular[i].rgb * pow(facing, uMaterialPower) * factor;\n";
        }
        text += "    }\n";
    }
    text += "    diffuse = vec4(materialEmissive.rgb + materialAmbient.rgb * (uAmbient.rgb + ambientSum) + "
            "materialDiffuse.rgb * diffuseSum, materialDiffuse.a);\n"
            "    specular = vec4(materialSpecular.rgb * specularSum, specular.a);\n";
    return text;
}

std::string VertexFog(const CD3D8VertexKey& key)
{
    if (key.fog == ED3D8Fog::PixelDepth)
        return "    gl_FogFragCoord = fogDepth;\n";
    if (key.fog != ED3D8Fog::VertexFactor)
        return std::string();
    if (key.fogFormula == D3DFOG_NONE || key.transformed)
        return "    gl_FogFragCoord = specular.a;\n";
    return key.rangeFog ? "    gl_FogFragCoord = FogFactor(length(eye.xyz));\n"
                        : "    gl_FogFragCoord = FogFactor(eye.z);\n";
}

bool UsesArgument(DWORD op, int index)
{
    if (index == 0)
        return op == D3DTOP_MULTIPLYADD || op == D3DTOP_LERP;
    if (index == 1)
        return op != D3DTOP_SELECTARG2;
    return op != D3DTOP_SELECTARG1;
}

bool ReadsTexture(DWORD op, const std::array<DWORD, 3>& args)
{
    for (int i = 0; i < 3; ++i) {
        if (UsesArgument(op, i) && (args[i] & D3DTA_SELECTMASK) == D3DTA_TEXTURE)
            return true;
    }
    return op == D3DTOP_BLENDTEXTUREALPHA || op == D3DTOP_BLENDTEXTUREALPHAPM;
}

std::string Argument(DWORD arg, UINT stage)
{
    std::string value;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
        value = "diffuse";
        break;
    case D3DTA_CURRENT:
        value = stage == 0 ? "diffuse" : "current";
        break;
    case D3DTA_TEXTURE:
        value = "texel" + N(stage);
        break;
    case D3DTA_TFACTOR:
        value = "uTFactor";
        break;
    case D3DTA_SPECULAR:
        value = "specular";
        break;
    case D3DTA_TEMP:
        value = "temp";
        break;
    default:
        value = "vec4(0.0)";
        break;
    }
    if (arg & D3DTA_ALPHAREPLICATE)
        value = "vec4(" + value + ".a)";
    if (arg & D3DTA_COMPLEMENT)
        value = "(vec4(1.0) - " + value + ")";
    return value;
}

std::string Operation(DWORD op, const std::array<DWORD, 3>& args, UINT stage, bool texture)
{
    std::string a0 = Argument(args[0], stage);
    std::string a1 = Argument(args[1], stage);
    std::string a2 = Argument(args[2], stage);
    std::string texel = texture ? "texel" + N(stage) : "vec4(1.0)";
    switch (op) {
    case D3DTOP_SELECTARG2:
        return a2;
    case D3DTOP_MODULATE:
        return a1 + " * " + a2;
    case D3DTOP_MODULATE2X:
        return a1 + " * " + a2 + " * 2.0";
    case D3DTOP_MODULATE4X:
        return a1 + " * " + a2 + " * 4.0";
    case D3DTOP_ADD:
        return a1 + " + " + a2;
    case D3DTOP_ADDSIGNED:
        return a1 + " + " + a2 + " - vec4(0.5)";
    case D3DTOP_ADDSIGNED2X:
        return "(" + a1 + " + " + a2 + " - vec4(0.5)) * 2.0";
    case D3DTOP_SUBTRACT:
        return a1 + " - " + a2;
    case D3DTOP_ADDSMOOTH:
        return a1 + " + " + a2 + " - " + a1 + " * " + a2;
    case D3DTOP_BLENDDIFFUSEALPHA:
        return "mix(" + a2 + ", " + a1 + ", diffuse.a)";
    case D3DTOP_BLENDTEXTUREALPHA:
        return "mix(" + a2 + ", " + a1 + ", " + texel + ".a)";
    case D3DTOP_BLENDFACTORALPHA:
        return "mix(" + a2 + ", " + a1 + ", uTFactor.a)";
    case D3DTOP_BLENDTEXTUREALPHAPM:
        return a1 + " + " + a2 + " * (1.0 - " + texel + ".a)";
    case D3DTOP_BLENDCURRENTALPHA:
        return "mix(" + a2 + ", " + a1 + ", " + (stage == 0 ? std::string("diffuse") : std::string("current")) + ".a)";
    case D3DTOP_MODULATEALPHA_ADDCOLOR:
        return a1 + " + " + a1 + ".a * " + a2;
    case D3DTOP_MODULATECOLOR_ADDALPHA:
        return a1 + " * " + a2 + " + vec4(" + a1 + ".a)";
    case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
        return "(1.0 - " + a1 + ".a) * " + a2 + " + " + a1;
    case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
        return "(vec4(1.0) - " + a1 + ") * " + a2 + " + vec4(" + a1 + ".a)";
    case D3DTOP_DOTPRODUCT3:
        return "vec4(dot(" + a1 + ".rgb * 2.0 - vec3(1.0), " + a2 + ".rgb * 2.0 - vec3(1.0)))";
    case D3DTOP_MULTIPLYADD:
        return a0 + " + " + a1 + " * " + a2;
    case D3DTOP_LERP:
        return "mix(" + a2 + ", " + a1 + ", " + a0 + ")";
    default:  // SELECTARG1 and what this layer does not do (bump mapping, premodulate)
        return a1;
    }
}

// A stage that reads a texture without one bound passes the current colour on.
void PassWithoutTexture(DWORD& op, std::array<DWORD, 3>& args, bool texture)
{
    if (texture || op == D3DTOP_DISABLE || !ReadsTexture(op, args))
        return;
    op = D3DTOP_SELECTARG1;
    args[1] = D3DTA_CURRENT;
}

std::string AlphaTest(DWORD func)
{
    static const char* const kCompare[] = {"", "false", "<", "==", "<=", ">", "!=", ">="};
    if (func == D3DCMP_ALWAYS || func < D3DCMP_NEVER || func > D3DCMP_ALWAYS)
        return std::string();
    std::string text = "    float alpha8 = floor(clamp(color.a, 0.0, 1.0) * 255.0 + 0.5);\n";
    if (func == D3DCMP_NEVER)
        return text + "    discard;\n";
    return text + "    if (!(alpha8 " + kCompare[func] + " uAlphaRef)) discard;\n";
}

// Appends small values as bytes, and 32-bit ones as four.
class CKeyWriter {
public:
    explicit CKeyWriter(CD3D8ProgramKey& key) : m_key(key) {}

    CKeyWriter& operator<<(UINT value)
    {
        m_key.bytes[m_at++] = static_cast<uint8_t>(value);
        return *this;
    }

    void Word(DWORD value)
    {
        for (int i = 0; i < 4; ++i)
            *this << ((value >> (8 * i)) & 0xFF);
    }

private:
    CD3D8ProgramKey& m_key;
    size_t m_at = 0;
};

constexpr size_t kShaderOffset = 0;

} // namespace

size_t CD3D8ProgramKeyHash::operator()(const CD3D8ProgramKey& key) const
{
    return std::hash<std::string_view>()(
        std::string_view(reinterpret_cast<const char*>(key.bytes.data()), key.bytes.size()));
}

CD3D8ProgramKey D3D8ProgramKey(DWORD pixelShader, const CD3D8VertexKey& vertex, const CD3D8FragmentKey& fragment,
                               const CD3D8CombinerKey& combiner)
{
    CD3D8ProgramKey key;
    CKeyWriter out(key);
    out.Word(pixelShader);
    out << vertex.transformed << vertex.normal << vertex.diffuse << vertex.specular << vertex.pointSize
        << vertex.texSets << vertex.stagesWithCoordinates;
    for (UINT i = 0; i < 8; ++i)
        out << vertex.texComponents[i] << vertex.texCoordIndex[i];
    out << vertex.lighting << vertex.lights << static_cast<UINT>(vertex.diffuseSource)
        << static_cast<UINT>(vertex.ambientSource) << static_cast<UINT>(vertex.specularSource)
        << static_cast<UINT>(vertex.emissiveSource) << vertex.specularLighting << vertex.localViewer
        << vertex.normalize << static_cast<UINT>(vertex.fog) << vertex.fogFormula << vertex.rangeFog
        << vertex.fogFromW << vertex.pointScale;
    out << static_cast<UINT>(fragment.fog) << fragment.fogFormula << fragment.alphaFunc << fragment.sprite;
    out << combiner.specularAdd << combiner.count;
    for (UINT s = 0; s < combiner.count; ++s) {
        const CD3D8StageKey& stage = combiner.stages[s];
        out << stage.colorOp << stage.colorArgs[0] << stage.colorArgs[1] << stage.colorArgs[2] << stage.alphaOp
            << stage.alphaArgs[0] << stage.alphaArgs[1] << stage.alphaArgs[2] << stage.toTemp << stage.texture;
    }
    return key;
}

DWORD D3D8ProgramKeyShader(const CD3D8ProgramKey& key)
{
    DWORD handle = 0;
    for (int i = 3; i >= 0; --i)
        handle = (handle << 8) | key.bytes[kShaderOffset + static_cast<size_t>(i)];
    return handle;
}

std::string D3D8VertexSource(const CD3D8VertexKey& key)
{
    std::string text = "#version 120\nattribute vec4 aPosition;\n";
    if (key.normal)
        text += "attribute vec3 aNormal;\n";
    if (key.diffuse)
        text += "attribute vec4 aDiffuse;\n";
    if (key.specular)
        text += "attribute vec4 aSpecular;\n";
    if (key.pointSize)
        text += "attribute float aPointSize;\n";
    for (UINT set = 0; set < key.texSets; ++set)
        text += "attribute vec4 aTex" + N(set) + ";\n";
    text += "uniform mat4 uWorldView;\nuniform mat4 uProjection;\nuniform mat3 uNormalMatrix;\n"
            "uniform vec4 uTarget;\nuniform vec4 uPoint;\nuniform vec3 uPointScale;\nuniform vec4 uFog;\n";
    if (key.lighting)
        text += LightingUniforms(key.lights);
    if (key.fog == ED3D8Fog::VertexFactor)
        text += FogFunction(key.fogFormula);
    text += "void main() {\n";
    text += key.diffuse ? "    vec4 vertexDiffuse = aDiffuse.zyxw;\n" : "    vec4 vertexDiffuse = vec4(1.0);\n";
    text += key.specular ? "    vec4 vertexSpecular = aSpecular.zyxw;\n" : "    vec4 vertexSpecular = vec4(0.0);\n";
    text += "    vec4 diffuse = vertexDiffuse;\n    vec4 specular = vertexSpecular;\n";
    if (key.transformed) {
        text += "    float w = (aPosition.w > 0.0 && aPosition.w < 1e30) ? 1.0 / aPosition.w : 1.0;\n"
                "    vec4 eye = vec4(0.0, 0.0, w, 1.0);\n"
                "    vec2 ndc = (aPosition.xy + vec2(0.5)) * 2.0 / uTarget.zw - vec2(1.0);\n"
                "    gl_Position = vec4(ndc * w, (2.0 * aPosition.z - 1.0) * w, w);\n";
        text += key.fogFromW ? "    float fogDepth = w;\n" : "    float fogDepth = aPosition.z;\n";
    } else {
        text += "    vec4 eye = uWorldView * vec4(aPosition.xyz, 1.0);\n"
                "    vec4 clip = uProjection * eye;\n";
        text += key.fogFromW ? "    float fogDepth = clip.w;\n" : "    float fogDepth = clip.z / clip.w;\n";
        text += "    clip.x += clip.w * uTarget.x;\n"
                "    clip.y = clip.w * uTarget.y - clip.y;\n"
                "    clip.z = 2.0 * clip.z - clip.w;\n"
                "    gl_Position = clip;\n";
        if (key.lighting)
            text += Lighting(key);
    }
    text += "    gl_FrontColor = clamp(diffuse, 0.0, 1.0);\n"
            "    gl_FrontSecondaryColor = clamp(specular, 0.0, 1.0);\n";
    for (UINT stage = 0; stage < key.stagesWithCoordinates; ++stage) {
        UINT set = key.texCoordIndex[stage];
        text += "    gl_TexCoord[" + N(stage) + "] = " + (set < key.texSets ? "aTex" + N(set) : "vec4(0.0, 0.0, 0.0, 1.0)") +
                ";\n";
    }
    text += VertexFog(key);
    text += key.pointSize ? "    float size = aPointSize;\n" : "    float size = uPoint.x;\n";
    if (key.pointScale && !key.transformed)
        text += "    float distance = length(eye.xyz);\n"
                "    size = uPoint.w * size * sqrt(1.0 / max(uPointScale.x + uPointScale.y * distance + "
                "uPointScale.z * distance * distance, 1e-20));\n";
    text += "    gl_PointSize = clamp(size, uPoint.y, uPoint.z);\n}\n";
    return text;
}

std::string D3D8CombinerBody(const CD3D8CombinerKey& key, DWORD& samplers)
{
    std::string text = "    vec4 diffuse = gl_Color;\n    vec4 specular = gl_SecondaryColor;\n"
                       "    vec4 current = diffuse;\n    vec4 temp = vec4(0.0);\n";
    for (UINT s = 0; s < key.count; ++s) {
        CD3D8StageKey stage = key.stages[s];
        PassWithoutTexture(stage.colorOp, stage.colorArgs, stage.texture);
        if (stage.alphaOp == D3DTOP_DISABLE) {
            stage.alphaOp = D3DTOP_SELECTARG1;
            stage.alphaArgs[1] = D3DTA_CURRENT;
        }
        PassWithoutTexture(stage.alphaOp, stage.alphaArgs, stage.texture);
        bool sampled = stage.texture && (ReadsTexture(stage.colorOp, stage.colorArgs) ||
                                         ReadsTexture(stage.alphaOp, stage.alphaArgs));
        std::string name = N(s);
        if (sampled) {
            samplers |= 1u << s;
            text += "    vec4 texel" + name + " = texture2D(uSampler" + name + ", coord" + name + ".xy);\n";
        }
        std::string color = Operation(stage.colorOp, stage.colorArgs, s, sampled);
        std::string alpha = stage.colorOp == D3DTOP_DOTPRODUCT3 ? "colorResult" + name
                                                                : Operation(stage.alphaOp, stage.alphaArgs, s, sampled);
        text += "    vec4 colorResult" + name + " = " + color + ";\n";
        text += "    vec4 alphaResult" + name + " = " + alpha + ";\n";
        text += std::string("    ") + (stage.toTemp ? "temp" : "current") + " = clamp(vec4(colorResult" + name +
                ".rgb, alphaResult" + name + ".a), 0.0, 1.0);\n";
    }
    if (key.specularAdd)
        text += "    current.rgb = clamp(current.rgb + specular.rgb, 0.0, 1.0);\n";
    return text + "    color = current;\n";
}

std::string D3D8FragmentSource(const std::string& body, DWORD samplers, const CD3D8FragmentKey& key)
{
    std::string text = "#version 120\n";
    for (UINT s = 0; s < 8; ++s) {
        if (samplers & (1u << s))
            text += "uniform sampler2D uSampler" + N(s) + ";\n";
    }
    text += "uniform vec4 uTFactor;\nuniform vec4 uFogColor;\nuniform vec4 uFog;\nuniform float uAlphaRef;\n";
    if (key.fog == ED3D8Fog::PixelDepth)
        text += FogFunction(key.fogFormula);
    text += "void main() {\n";
    for (UINT s = 0; s < 8; ++s) {
        std::string name = "coord" + N(s);
        if (body.find(name) == std::string::npos)
            continue;
        text += "    vec4 " + name + " = " +
                (key.sprite ? std::string("vec4(gl_PointCoord, 0.0, 1.0)") : "gl_TexCoord[" + N(s) + "]") + ";\n";
    }
    text += "    vec4 color;\n" + body;
    if (key.fog == ED3D8Fog::PixelDepth)
        text += "    color.rgb = mix(uFogColor.rgb, color.rgb, clamp(FogFactor(gl_FogFragCoord), 0.0, 1.0));\n";
    else if (key.fog == ED3D8Fog::VertexFactor)
        text += "    color.rgb = mix(uFogColor.rgb, color.rgb, clamp(gl_FogFragCoord, 0.0, 1.0));\n";
    text += AlphaTest(key.alphaFunc);
    return text + "    gl_FragColor = color;\n}\n";
}
