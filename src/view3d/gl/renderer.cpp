#include "view3d/gl/renderer.h"

#include <QOpenGLExtraFunctions>
#include <cmath>

#include "view3d/gl/device.h"
#include "view3d/pure/debug_log.h"

namespace velmora::view3d {
namespace {

// Frames a GPU copy may go unused before it is freed.
constexpr int kKeepFrames = 300;

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec4 colour;
layout(location = 3) in vec2 uv;
uniform mat4 world;
uniform mat4 view;
uniform mat4 projection;
uniform vec2 uvOffset;
uniform vec2 uvScale;
out vec3 worldNormal;
out vec3 worldPosition;
out vec4 vertexColour;
out vec2 texCoord;
void main() {
    vec4 p = world * vec4(position, 1.0);
    worldPosition = p.xyz;
    worldNormal = (world * vec4(normal, 0.0)).xyz;
    vertexColour = colour;
    texCoord = uv * uvScale + uvOffset;
    gl_Position = projection * view * p;
}
)";

const char* const kFragmentShader = R"(#version 330 core
in vec3 worldNormal;
in vec3 worldPosition;
in vec4 vertexColour;
in vec2 texCoord;
uniform vec4 diffuse;
uniform vec4 ambient;
uniform vec4 emissive;
uniform vec4 specular;
uniform float power;
uniform bool lighting;
uniform bool hasNormals;
uniform vec3 lightDirection;
uniform vec4 lightDiffuse;
uniform vec4 lightSpecular;
uniform vec4 lightAmbient;
uniform vec3 eye;
uniform bool textured;
uniform sampler2D stage0;
uniform bool alphaTest;
out vec4 fragment;
void main() {
    vec4 base = diffuse * vertexColour;
    vec3 colour = base.rgb;
    if (lighting) {
        vec3 n = hasNormals ? normalize(worldNormal) : vec3(0.0);
        vec3 toLight = -normalize(lightDirection);
        float d = max(dot(n, toLight), 0.0);
        colour = emissive.rgb + ambient.rgb * lightAmbient.rgb + base.rgb * lightDiffuse.rgb * d;
        if (power > 0.0 && d > 0.0) {
            vec3 h = normalize(toLight + normalize(eye - worldPosition));
            colour += specular.rgb * lightSpecular.rgb * pow(max(dot(n, h), 0.0), power);
        }
    }
    vec4 result = vec4(colour, base.a);
    if (textured) result *= texture(stage0, texCoord);
    if (alphaTest && result.a <= 0.5) discard;
    fragment = clamp(result, 0.0, 1.0);
}
)";

GLenum Factor(BlendFactor f) {
    switch (f) {
        case BlendFactor::kZero:
            return GL_ZERO;
        case BlendFactor::kOne:
            return GL_ONE;
        case BlendFactor::kSrcColour:
            return GL_SRC_COLOR;
        case BlendFactor::kInvSrcColour:
            return GL_ONE_MINUS_SRC_COLOR;
        case BlendFactor::kSrcAlpha:
            return GL_SRC_ALPHA;
        case BlendFactor::kInvSrcAlpha:
            return GL_ONE_MINUS_SRC_ALPHA;
        case BlendFactor::kDestColour:
            return GL_DST_COLOR;
        case BlendFactor::kInvDestColour:
            return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

QVector4D Vec(const Colour& c) {
    return {c.r, c.g, c.b, c.a};
}

// Row-vector matrices go to GLSL as they are: read column-major they are the
// transposes that column vectors want.
void SetMatrix(QOpenGLExtraFunctions& gl, QOpenGLShaderProgram& p, const char* name,
               const Mat4& m) {
    gl.glUniformMatrix4fv(p.uniformLocation(name), 1, GL_FALSE, &m.m[0][0]);
}

}  // namespace

Renderer::Renderer(Device& device) : device_(device) {
    id_ = device_.RegisterResource(
        "TSXScene", "renderer",
        {[this] { Free(); }, [this] { Create(); }, [this] { Free(); }, [this] { Create(); }});
    Create();
}

Renderer::~Renderer() {
    meshes_.clear();
    textures_.clear();
    Free();
    device_.UnregisterResource(id_);
}

void Renderer::Create() {
    if (!device_.Ready() || program_) return;
    program_ = std::make_unique<QOpenGLShaderProgram>();
    if (!program_->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
        !program_->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) ||
        !program_->link()) {
        // A shader the driver refuses is a failing call like any other.
        DebugLog::Instance().CheckResult(GL_INVALID_OPERATION, "シェーダーの生成に失敗しました: " +
                                                                   program_->log().toStdString());
        program_.reset();
        return;
    }
    device_.Gl().glGenVertexArrays(1, &vao_);
    device_.Check("頂点配列の生成に失敗しました");
}

void Renderer::Free() {
    if (device_.Ready() && vao_ != 0) device_.Gl().glDeleteVertexArrays(1, &vao_);
    program_.reset();
    vao_ = 0;
    appliedPreset_ = -1;
}

Renderer::GpuMesh& Renderer::MeshFor(const Mesh& mesh) {
    auto [it, added] = meshes_.try_emplace(mesh.id);
    if (added) {
        it->second.vertices = std::make_unique<VertexBuffer>(device_, "mesh", mesh.vertices);
        it->second.indices = std::make_unique<IndexBuffer>(device_, "mesh", mesh.indices);
    }
    it->second.lastFrame = frame_;
    return it->second;
}

Texture* Renderer::TextureFor(const Picture& picture) {
    auto [it, added] = textures_.try_emplace(picture.id);
    if (added) {
        it->second.texture = std::make_unique<Texture>(device_, picture.name);
        it->second.texture->SetFormatCandidates({PixelFormat::kA4R4G4B4, PixelFormat::kA8R8G8B8});
        it->second.texture->LoadPicture(picture);
    }
    it->second.lastFrame = frame_;
    return it->second.texture.get();
}

void Renderer::ForgetUnused() {
    std::erase_if(meshes_,
                  [this](const auto& e) { return frame_ - e.second.lastFrame > kKeepFrames; });
    std::erase_if(textures_,
                  [this](const auto& e) { return frame_ - e.second.lastFrame > kKeepFrames; });
}

void Renderer::ApplyPreset(const BlendPreset& p) {
    QOpenGLExtraFunctions& gl = device_.Gl();
    if (p.blending) {
        gl.glEnable(GL_BLEND);
        gl.glBlendEquation(GL_FUNC_ADD);
        gl.glBlendFunc(Factor(p.source), Factor(p.destination));
        gl.glDepthMask(GL_FALSE);
    } else {
        gl.glDisable(GL_BLEND);
        gl.glDepthMask(GL_TRUE);
    }
    program_->setUniformValue("alphaTest", p.alphaTest);
}

void Renderer::DrawItem(const struct DrawItem& item, const Scene& scene, double seconds) {
    if (item.mesh == nullptr || item.mesh->indices.empty() || item.mesh->VertexCount() == 0) return;
    QOpenGLExtraFunctions& gl = device_.Gl();
    if (item.preset != appliedPreset_) {
        ApplyPreset(scene.presets[static_cast<std::size_t>(item.preset)]);
        appliedPreset_ = item.preset;
    }
    static const Material kPlain;
    const Material& m = item.material ? *item.material : kPlain;
    QOpenGLShaderProgram& p = *program_;
    SetMatrix(gl, p, "world", item.world);
    p.setUniformValue("diffuse", Vec(m.diffuse));
    p.setUniformValue("ambient", Vec(m.ambient));
    p.setUniformValue("emissive", Vec(m.emissive));
    p.setUniformValue("specular", Vec(m.specular));
    p.setUniformValue("power", m.power);
    p.setUniformValue("lighting", m.lightingMode == 0);
    const TextureStage& stage = m.stages[0];
    Texture* texture = stage.picture ? TextureFor(*stage.picture) : nullptr;
    const bool textured = texture != nullptr && (item.mesh->fields & kVertexTexture);
    p.setUniformValue("textured", textured);
    if (textured) {
        gl.glActiveTexture(GL_TEXTURE0);
        gl.glBindTexture(GL_TEXTURE_2D, texture->Handle());
        const GLenum wrap = stage.addressMode == 1   ? GL_MIRRORED_REPEAT
                            : stage.addressMode == 2 ? GL_CLAMP_TO_EDGE
                                                     : GL_REPEAT;
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
        const float t = static_cast<float>(std::fmod(seconds / 8.0, 1.0));
        p.setUniformValue("uvOffset", QVector2D(stage.scrollU * t, stage.scrollV * t));
        p.setUniformValue("uvScale", QVector2D(1.0f / texture->RatioU(), 1.0f / texture->RatioV()));
    }
    GpuMesh& gpu = MeshFor(*item.mesh);
    gl.glBindBuffer(GL_ARRAY_BUFFER, gpu.vertices->Handle());
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.indices->Handle());
    const int stride = item.mesh->stride;
    const unsigned fields = item.mesh->fields;
    std::size_t offset = 12;
    gl.glEnableVertexAttribArray(0);
    gl.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    if (fields & kVertexBlend) offset += 8;
    p.setUniformValue("hasNormals", (fields & kVertexNormal) != 0);
    if (fields & kVertexNormal) {
        gl.glEnableVertexAttribArray(1);
        gl.glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
        offset += 12;
    } else {
        gl.glDisableVertexAttribArray(1);
    }
    if (fields & kVertexColour) {
        gl.glEnableVertexAttribArray(2);
        gl.glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                                 reinterpret_cast<void*>(offset));
        offset += 4;
    } else {
        gl.glDisableVertexAttribArray(2);
        gl.glVertexAttrib4f(2, 1, 1, 1, 1);
    }
    if (fields & kVertexTexture) {
        gl.glEnableVertexAttribArray(3);
        gl.glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
    } else {
        gl.glDisableVertexAttribArray(3);
    }
    gl.glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(item.mesh->indices.size()),
                      GL_UNSIGNED_SHORT, nullptr);
}

void Renderer::Draw(const DrawList& list, const Scene& scene, double seconds) {
    if (!device_.Ready() || device_.Failed()) return;
    if (!program_) Create();
    if (!program_) return;
    ++frame_;
    QOpenGLExtraFunctions& gl = device_.Gl();
    program_->bind();
    gl.glBindVertexArray(vao_);
    SetMatrix(gl, *program_, "view", list.view);
    SetMatrix(gl, *program_, "projection", list.projection);
    const Mat4 eyeWorld = scene.camera->World();
    program_->setUniformValue("eye",
                              QVector3D(eyeWorld.m[3][0], eyeWorld.m[3][1], eyeWorld.m[3][2]));
    const Light light = scene.lights.Lights().empty() ? Light{} : scene.lights.Lights()[0];
    const bool lit = light.enabled;
    program_->setUniformValue("lightDirection",
                              QVector3D(light.direction.x, light.direction.y, light.direction.z));
    program_->setUniformValue("lightDiffuse", lit ? Vec(light.diffuse) : QVector4D());
    program_->setUniformValue("lightSpecular", lit ? Vec(light.specular) : QVector4D());
    program_->setUniformValue("lightAmbient", lit ? Vec(light.ambient) : QVector4D());
    program_->setUniformValue("stage0", 0);
    program_->setUniformValue("uvOffset", QVector2D(0, 0));
    program_->setUniformValue("uvScale", QVector2D(1, 1));
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_LEQUAL);
    gl.glDisable(GL_CULL_FACE);
    appliedPreset_ = -1;
    for (const auto& item : list.opaque) DrawItem(item, scene, seconds);
    for (const auto& item : list.translucent) DrawItem(item, scene, seconds);
    gl.glDisable(GL_DEPTH_TEST);
    gl.glDepthMask(GL_FALSE);
    gl.glDepthFunc(GL_ALWAYS);
    for (const auto& item : list.overlay) DrawItem(item, scene, seconds);
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthMask(GL_TRUE);
    gl.glDepthFunc(GL_LEQUAL);
    gl.glDisable(GL_BLEND);
    for (int stage = 0; stage < 8; ++stage) {
        gl.glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + stage));
        gl.glBindTexture(GL_TEXTURE_2D, 0);
    }
    gl.glActiveTexture(GL_TEXTURE0);
    gl.glBindVertexArray(0);
    program_->release();
    device_.Check("描画に失敗しました");
}

}  // namespace velmora::view3d
