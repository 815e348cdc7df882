#include "platform/d3d8/D3D8ProgramCache.h"

#include <cstdio>
#include <vector>

namespace {

const char* const kUniformNames[] = {
    "uWorldView",       "uProjection",      "uNormalMatrix",    "uTarget",           "uPoint",
    "uPointScale",      "uFog",             "uFogColor",        "uTFactor",          "uAlphaRef",
    "uMaterialDiffuse", "uMaterialAmbient", "uMaterialSpecular", "uMaterialEmissive", "uMaterialPower",
    "uAmbient",         "uLightDiffuse",    "uLightSpecular",   "uLightAmbient",     "uLightPosition",
    "uLightDirection",  "uLightAttenuation", "uLightSpot",
};

const char* const kAttributeNames[] = {"aPosition", "aNormal", "aDiffuse", "aSpecular", "aPointSize"};

std::string InfoLog(GLuint object, bool program)
{
    GLint length = 0;
    if (program)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    if (program)
        glGetProgramInfoLog(object, length, nullptr, text.data());
    else
        glGetShaderInfoLog(object, length, nullptr, text.data());
    return text.data();
}

GLuint Compile(GLenum kind, const std::string& source, bool report)
{
    GLuint shader = glCreateShader(kind);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled)
        return shader;
    if (report)
        std::fprintf(stderr, "# Direct3D 8 layer: shader does not compile:\n%s\n%s\n", InfoLog(shader, false).c_str(),
                     source.c_str());
    glDeleteShader(shader);
    return 0;
}

static_assert(sizeof(kUniformNames) / sizeof(kUniformNames[0]) == static_cast<size_t>(ED3D8Uniform::Sampler0),
              "one name per uniform");

} // namespace

CD3D8ProgramCache::~CD3D8ProgramCache()
{
    for (auto& entry : m_programs)
        glDeleteProgram(entry.second->name);
}

CD3D8Program* CD3D8ProgramCache::Find(const CD3D8ProgramKey& key) const
{
    auto it = m_programs.find(key);
    return it == m_programs.end() ? nullptr : it->second.get();
}

CD3D8Program* CD3D8ProgramCache::Add(const CD3D8ProgramKey& key, const std::string& vertex,
                                     const std::string& fragment, DWORD samplers)
{
    GLuint vertexShader = Compile(GL_VERTEX_SHADER, vertex, true);
    GLuint fragmentShader = Compile(GL_FRAGMENT_SHADER, fragment, true);
    if (!vertexShader || !fragmentShader) {
        glDeleteShader(vertexShader);
        glDeleteShader(fragmentShader);
        return nullptr;
    }
    auto program = std::make_unique<CD3D8Program>();
    program->name = glCreateProgram();
    program->samplers = samplers;
    glAttachShader(program->name, vertexShader);
    glAttachShader(program->name, fragmentShader);
    for (GLuint i = 0; i < kD3D8AttributeTexture0; ++i)
        glBindAttribLocation(program->name, i, kAttributeNames[i]);
    for (GLuint set = 0; set < 8; ++set)
        glBindAttribLocation(program->name, kD3D8AttributeTexture0 + set, ("aTex" + std::to_string(set)).c_str());
    glLinkProgram(program->name);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    GLint linked = GL_FALSE;
    glGetProgramiv(program->name, GL_LINK_STATUS, &linked);
    if (!linked) {
        std::fprintf(stderr, "# Direct3D 8 layer: program does not link:\n%s\n", InfoLog(program->name, true).c_str());
        glDeleteProgram(program->name);
        return nullptr;
    }
    size_t named = sizeof(kUniformNames) / sizeof(kUniformNames[0]);
    for (size_t i = 0; i < named; ++i)
        program->uniforms[i] = glGetUniformLocation(program->name, kUniformNames[i]);
    for (size_t s = 0; s < 8; ++s)
        program->uniforms[named + s] = glGetUniformLocation(program->name, ("uSampler" + std::to_string(s)).c_str());
    CD3D8Program* added = program.get();
    m_programs[key] = std::move(program);
    return added;
}

void CD3D8ProgramCache::Forget(DWORD pixelShader)
{
    for (auto it = m_programs.begin(); it != m_programs.end();) {
        if (D3D8ProgramKeyShader(it->first) == pixelShader) {
            glDeleteProgram(it->second->name);
            it = m_programs.erase(it);
        } else {
            ++it;
        }
    }
}

bool CD3D8ProgramCache::Compiles(const std::string& fragment)
{
    GLuint shader = Compile(GL_FRAGMENT_SHADER, fragment, false);
    glDeleteShader(shader);
    return shader != 0;
}
