// Metasequoia text documents (".mqo"): the ship and aircraft models. The
// reader takes the subset of the format the viewer draws (scene, materials,
// objects with vertices and faces) and skips everything else; the builder
// turns the document into one triangle mesh per object and material.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "view3d/pure/scene.h"

namespace velmora::view3d {

struct MqoScene {
    Vec3 pos, lookat;
    float head = 0, pich = 0, ortho = 0, zoom2 = 0;
    Colour amb{0.25f, 0.25f, 0.25f, 1};
};

struct MqoMaterial {
    std::string name;  // UTF-8
    int shader = 3;
    Colour col;
    float dif = 0, amb = 0, emi = 0, spc = 0, power = 0;
    std::string tex, aplane, bump;  // UTF-8 file names
};

struct MqoVertex {
    Vec3 position;
    Vec3 normal;
    std::array<std::uint32_t, 2> blend{};  // weight and indices; zero from the reader
};

struct MqoFace {
    // Up to four corners, as documents of this format hold; more are split
    // into a fan when the object is converted.
    std::vector<int> v;
    int material = 0;
    std::vector<std::array<float, 2>> uv;
    std::vector<std::uint32_t> col;  // 0xFFFFFFFF when absent
    Vec3 normal;
};

struct MqoObject {
    std::string name;  // UTF-8
    int visible = 15, locking = 0, shading = 0;
    float facet = 59.5f;
    Colour color{1, 1, 1, 1};
    int colorType = 0;
    bool hasVertexColours = false;
    std::vector<MqoVertex> vertices;
    std::vector<MqoFace> faces;
};

struct MqoDocument {
    std::optional<MqoScene> scene;
    std::vector<MqoMaterial> materials;
    std::vector<MqoObject> objects;
};

// A document that cannot be read; the message names the file and line.
struct MqoError {
    std::string message;  // file, line and reason
    int line = 0;
    std::string reason;
};

// Parses a document. fileName only labels messages. Returns the document or
// the error; nothing in the bytes can make it fail otherwise.
std::optional<MqoDocument> ReadMqoDocument(std::string_view bytes, std::string_view fileName,
                                           MqoError* error);

// Reverses every face, computes face normals and smooth vertex normals.
void PostProcessFaces(MqoObject& object);

struct ConversionOptions {
    bool vertexColours = true;
    bool textureCoordinates = true;
    bool normals = true;
    bool optimise = true;
    bool blendWeights = false;
    bool centre = false;
    float fitSize = 0;
    float scale = 1;
};

struct SubObject {
    std::string name;  // object name + "_" + material name
    int material = 0;
    Mesh mesh;
};

struct ModelObject {
    std::string name;
    std::vector<SubObject> parts;
};

// A loaded model: the materials of the document and its objects' meshes.
struct Model {
    std::vector<Material> materials;
    std::vector<ModelObject> objects;
    // Materials of the document (a document without any is drawn in one
    // default material, which this does not count).
    int documentMaterials = 0;

    bool Empty() const { return objects.empty(); }
    int TriangleCount() const;
    int VertexCount() const;
};

// Reads a texture file named in a material (relative to the model's
// folder); nothing when it is missing or refused.
using TextureFileReader = std::function<std::optional<std::string>(const std::string& name)>;

// Decodes a texture picture by its file name's extension (".bmp", ".jpg",
// ".png"); sides that are not a power of two from 2 to 65536 become 256.
// Nothing for another extension or bytes that are not such a picture.
std::optional<Picture> DecodeTexture(const std::string& name, std::string_view bytes);

Material ConvertMaterial(const MqoMaterial& source, const MqoScene* scene,
                         const TextureFileReader& readTexture);
ModelObject ConvertObject(const MqoObject& object, const MqoDocument& document,
                          const ConversionOptions& options);
Model BuildModel(const MqoDocument& document, const TextureFileReader& readTexture,
                 const ConversionOptions& options = {});

// Reads and builds in one step.
std::optional<Model> LoadModel(std::string_view bytes, std::string_view fileName,
                               const TextureFileReader& readTexture, MqoError* error);

}  // namespace velmora::view3d
