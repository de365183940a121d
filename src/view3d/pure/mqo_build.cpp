// From a read document to meshes and materials.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <unordered_map>

#include "view3d/pure/mqo.h"

namespace velmora::view3d {
namespace {

constexpr std::string_view kBase36 = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr float kDegree = 3.14159265358979f / 180;

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The base-36 digit at name[at], or -1.
int DigitAt(const std::string& name, std::size_t at) {
    if (at >= name.size()) return -1;
    const auto p = kBase36.find(name[at]);
    return p == std::string_view::npos ? -1 : static_cast<int>(p);
}

// The digits after the first occurrence of tag in the lower-cased name.
std::vector<int> TagDigits(const std::string& name, std::string_view tag, int count) {
    const auto at = name.find(tag);
    if (at == std::string::npos) return {};
    std::vector<int> digits;
    for (int i = 0; i < count; ++i) {
        const int d = DigitAt(name, at + tag.size() + static_cast<std::size_t>(i));
        if (d < 0) return {};
        digits.push_back(d);
    }
    return digits;
}

std::optional<Colour> TagColour(const std::string& name, std::string_view tag) {
    const auto at = name.find(tag);
    if (at == std::string::npos || at + tag.size() + 8 > name.size()) return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const char c = name[at + tag.size() + i];
        int d;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else {
            return std::nullopt;
        }
        v = v << 4 | static_cast<std::uint32_t>(d);
    }
    return Colour{static_cast<float>(v >> 16 & 0xFF) / 255, static_cast<float>(v >> 8 & 0xFF) / 255,
                  static_cast<float>(v & 0xFF) / 255, static_cast<float>(v >> 24) / 255};
}

Colour Scaled(Colour c, float s) {
    return {c.r * s, c.g * s, c.b * s, c.a};
}

struct Corner {
    Vec3 position;
    Vec3 normal;
    std::uint32_t colour = 0xFFFFFFFFu;
    float u = 0, v = 0;
    std::array<std::uint32_t, 2> blend{};
};

struct Triangle {
    std::array<Corner, 3> corners;
    Vec3 normal;
    int material = 0;
};

std::vector<Triangle> Triangulate(const MqoObject& object) {
    std::vector<Triangle> out;
    for (const MqoFace& f : object.faces) {
        if (f.v.size() < 3) continue;
        auto corner = [&](std::size_t i) {
            Corner c;
            const MqoVertex& v = object.vertices[static_cast<std::size_t>(f.v[i])];
            c.position = v.position;
            c.normal = v.normal;
            c.colour = f.col[i];
            c.u = f.uv[i][0];
            c.v = f.uv[i][1];
            c.blend = v.blend;
            return c;
        };
        // Triangles keep corners 0, i, i + 1: a quad gives (0 1 2) and (0 2 3).
        for (std::size_t i = 1; i + 1 < f.v.size(); ++i) {
            out.push_back({{corner(0), corner(i), corner(i + 1)}, f.normal, f.material});
        }
    }
    return out;
}

void Transform(std::vector<Triangle>& tris, const ConversionOptions& o) {
    if (tris.empty()) return;
    if (o.centre) {
        Vec3 lo = tris[0].corners[0].position, hi = lo;
        for (const auto& t : tris) {
            for (const auto& c : t.corners) {
                lo = {std::min(lo.x, c.position.x), std::min(lo.y, c.position.y),
                      std::min(lo.z, c.position.z)};
                hi = {std::max(hi.x, c.position.x), std::max(hi.y, c.position.y),
                      std::max(hi.z, c.position.z)};
            }
        }
        const Vec3 centre = (lo + hi) * 0.5f;
        for (auto& t : tris) {
            for (auto& c : t.corners) c.position = c.position - centre;
        }
    }
    if (o.fitSize != 0) {
        float largest = 0;
        for (const auto& t : tris) {
            for (const auto& c : t.corners) {
                largest = std::max({largest, std::fabs(c.position.x), std::fabs(c.position.y),
                                    std::fabs(c.position.z)});
            }
        }
        const float s = o.fitSize / (largest + 0.00001f);
        for (auto& t : tris) {
            for (auto& c : t.corners) c.position = c.position * s;
        }
    }
    if (o.scale != 1) {
        for (auto& t : tris) {
            for (auto& c : t.corners) c.position = c.position * o.scale;
        }
    }
}

void Smooth(std::vector<Triangle>& tris, const MqoObject& object, float blend) {
    const int angle =
        object.shading == 1
            ? static_cast<int>(std::lround(std::clamp(object.facet, -1000.0f, 1000.0f)))
            : 0;
    const float limit = angle == 0 ? 10.0f : std::cos(static_cast<float>(angle) * kDegree / 2);
    for (auto& t : tris) {
        for (auto& c : t.corners) {
            if (Dot(t.normal, c.normal) > limit) continue;
            c.normal =
                blend > 0.00001f ? Normalise(t.normal * (1 - blend) + c.normal * blend) : t.normal;
        }
    }
}

// "@nr": roughens the look by tilting each triangle's normals towards one
// random direction. Presentation only, so it has its own generator.
void Roughen(std::vector<Triangle>& tris, float amount) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pick(0, 999);
    for (auto& t : tris) {
        const Vec3 r = Normalise(Vec3{static_cast<float>(pick(random) - 500),
                                      static_cast<float>(pick(random) - 500),
                                      static_cast<float>(pick(random) - 500)});
        for (auto& c : t.corners) c.normal = Normalise(c.normal * (1 - amount) + r * amount);
        t.normal = Normalise(t.normal * (1 - amount) + r * amount);
    }
}

// The 44 bytes two corners must share to share a vertex.
std::string CornerKey(const Corner& c) {
    std::string key(44, '\0');
    std::memcpy(key.data(), &c.position, 12);
    std::memcpy(key.data() + 12, &c.normal, 12);
    std::memcpy(key.data() + 24, &c.colour, 4);
    std::memcpy(key.data() + 28, &c.u, 4);
    std::memcpy(key.data() + 32, &c.v, 4);
    std::memcpy(key.data() + 36, c.blend.data(), 8);
    return key;
}

void AppendVertex(Mesh& mesh, const Corner& c) {
    auto put = [&](const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        mesh.vertices.insert(mesh.vertices.end(), b, b + n);
    };
    put(&c.position, 12);
    if (mesh.fields & kVertexBlend) put(c.blend.data(), 8);
    if (mesh.fields & kVertexNormal) put(&c.normal, 12);
    if (mesh.fields & kVertexColour) {
        // Stored as A B G R from the high byte; the mesh wants A R G B.
        const std::uint32_t argb =
            (c.colour & 0xFF00FF00u) | (c.colour >> 16 & 0xFFu) | (c.colour & 0xFFu) << 16;
        put(&argb, 4);
    }
    if (mesh.fields & kVertexTexture) {
        put(&c.u, 4);
        put(&c.v, 4);
    }
}

// Builds the meshes of one material, sharing identical corners; a new mesh
// starts when 16-bit indices run out.
std::vector<Mesh> BuildMeshes(const std::vector<Triangle>& tris, int material, unsigned fields,
                              bool optimise) {
    std::vector<Mesh> meshes;
    std::unordered_map<std::string, std::uint16_t> shared;
    for (const Triangle& t : tris) {
        if (t.material != material) continue;
        if (meshes.empty() || meshes.back().VertexCount() > 65535 - 3) {
            meshes.emplace_back();
            meshes.back().fields = fields;
            meshes.back().stride = VertexStride(fields);
            shared.clear();
        }
        Mesh& mesh = meshes.back();
        for (const Corner& c : t.corners) {
            auto [it, added] =
                shared.try_emplace(CornerKey(c), static_cast<std::uint16_t>(mesh.VertexCount()));
            if (added) AppendVertex(mesh, c);
            mesh.indices.push_back(it->second);
        }
    }
    for (Mesh& mesh : meshes) {
        mesh.ComputeBounds();
        if (optimise) mesh.OptimiseTriangleOrder();
    }
    return meshes;
}

}  // namespace

Material ConvertMaterial(const MqoMaterial& source, const MqoScene* scene,
                         const TextureFileReader& readTexture) {
    Material m;
    m.name = source.name;
    const std::string name = Lower(source.name);
    const Colour specular = TagColour(name, "@cs").value_or(Colour{1, 1, 1, 1});
    const Colour ambient =
        TagColour(name, "@ca").value_or(scene ? scene->amb : Colour{0.25f, 0.25f, 0.25f, 1});
    if (auto d = TagDigits(name, "@b", 1); !d.empty()) m.blendMode = d[0];
    if (auto d = TagDigits(name, "@s", 1); !d.empty()) m.shadingMode = d[0];
    if (auto d = TagDigits(name, "@l", 1); !d.empty()) m.lightingMode = d[0];
    for (int n = 0; n < 8; ++n) {
        const std::string stage(1, static_cast<char>('0' + n));
        TextureStage& s = m.stages[static_cast<std::size_t>(n)];
        if (auto d = TagDigits(name, "@tb" + stage, 1); !d.empty()) s.blendMode = d[0];
        if (auto d = TagDigits(name, "@ts" + stage, 1); !d.empty()) s.addressMode = d[0];
        if (auto d = TagDigits(name, "@tf" + stage, 1); !d.empty()) s.filterMode = d[0];
        if (auto d = TagDigits(name, "@ta" + stage, 2); !d.empty()) {
            s.scrollU = static_cast<float>(d[0] - 8);
            s.scrollV = static_cast<float>(d[1] - 8);
        }
    }
    m.diffuse = {source.col.r * source.dif, source.col.g * source.dif, source.col.b * source.dif,
                 source.col.a};
    m.ambient = Scaled(ambient, source.amb);
    m.emissive = {source.col.r * source.emi, source.col.g * source.emi, source.col.b * source.emi,
                  1};
    m.specular = Scaled(specular, source.spc);
    m.power = source.power;
    auto load = [&](const std::string& file, std::size_t stage) {
        if (file.empty() || !readTexture) return;
        if (auto bytes = readTexture(file)) {
            if (auto picture = DecodeTexture(file, *bytes)) {
                m.stages[stage].picture = std::make_shared<Picture>(std::move(*picture));
            }
        }
    };
    load(source.tex, 0);
    load(source.bump, 1);
    return m;
}

ModelObject ConvertObject(const MqoObject& object, const MqoDocument& document,
                          const ConversionOptions& options) {
    ModelObject out;
    out.name = object.name;
    std::vector<Triangle> tris = Triangulate(object);
    Transform(tris, options);
    const std::string name = Lower(object.name);
    float blend = 0;
    if (auto d = TagDigits(name, "@nb", 1); !d.empty()) blend = static_cast<float>(d[0]) / 10;
    Smooth(tris, object, blend);
    if (auto d = TagDigits(name, "@nr", 1); !d.empty() && d[0] > 0) {
        Roughen(tris, static_cast<float>(d[0]) / 10);
    }
    unsigned fields = 0;
    if (options.blendWeights) fields |= kVertexBlend;
    if (options.normals) fields |= kVertexNormal;
    if (options.vertexColours && object.hasVertexColours) fields |= kVertexColour;
    if (options.textureCoordinates) fields |= kVertexTexture;
    // A document without materials still shows its shapes, in the default
    // material.
    const int materials = std::max<int>(1, static_cast<int>(document.materials.size()));
    for (int m = 0; m < materials; ++m) {
        for (Mesh& mesh : BuildMeshes(tris, m, fields, options.optimise)) {
            const std::string material = document.materials.empty()
                                             ? std::string()
                                             : document.materials[static_cast<std::size_t>(m)].name;
            out.parts.push_back({object.name + "_" + material, m, std::move(mesh)});
        }
    }
    return out;
}

Model BuildModel(const MqoDocument& document, const TextureFileReader& readTexture,
                 const ConversionOptions& options) {
    Model model;
    model.documentMaterials = static_cast<int>(document.materials.size());
    const MqoScene* scene = document.scene ? &*document.scene : nullptr;
    for (const MqoMaterial& m : document.materials) {
        model.materials.push_back(ConvertMaterial(m, scene, readTexture));
    }
    if (model.materials.empty()) {
        Material plain;
        plain.name = "default";
        plain.diffuse = {0.8f, 0.8f, 0.8f, 1};
        plain.ambient = {0.2f, 0.2f, 0.2f, 1};
        plain.specular = {0, 0, 0, 1};
        model.materials.push_back(plain);
    }
    for (const MqoObject& o : document.objects) {
        model.objects.push_back(ConvertObject(o, document, options));
    }
    return model;
}

std::optional<Model> LoadModel(std::string_view bytes, std::string_view fileName,
                               const TextureFileReader& readTexture, MqoError* error) {
    auto document = ReadMqoDocument(bytes, fileName, error);
    if (!document) return std::nullopt;
    return BuildModel(*document, readTexture);
}

int Model::TriangleCount() const {
    int n = 0;
    for (const auto& o : objects) {
        for (const auto& p : o.parts) n += p.mesh.TriangleCount();
    }
    return n;
}

int Model::VertexCount() const {
    int n = 0;
    for (const auto& o : objects) {
        for (const auto& p : o.parts) n += p.mesh.VertexCount();
    }
    return n;
}

}  // namespace velmora::view3d
