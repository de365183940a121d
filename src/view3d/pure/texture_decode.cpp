// Model texture pictures: BMP, JPEG and PNG, recognised by extension and
// signature and decoded by stb_image.
// Textures may be BMP, JPEG or PNG; only those decoders are compiled in
// here (the scenario pictures' reader keeps PNG only).
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb_image.h>

#include <algorithm>
#include <memory>

#include "view3d/pure/mqo.h"

namespace velmora::view3d {
namespace {

// Larger pictures are refused before decoding: a few bytes of header could
// otherwise ask for gigabytes.
constexpr int kMaxSide = 8192;

struct StbFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

std::string Extension(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext = name.substr(dot);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return ext;
}

// From the start-of-image marker to just after the next end-of-image marker.
std::optional<std::string_view> JpegStream(std::string_view bytes) {
    const auto start = bytes.find("\xFF\xD8\xFF");
    if (start == std::string_view::npos) return std::nullopt;
    const auto end = bytes.find("\xFF\xD9", start + 3);
    if (end == std::string_view::npos) return std::nullopt;
    return bytes.substr(start, end + 2 - start);
}

bool PowerOfTwoSide(int n) {
    return n >= 2 && n <= 65536 && (n & (n - 1)) == 0;
}

Picture Stretch(const Picture& in, int width, int height) {
    Picture out;
    out.width = width;
    out.height = height;
    out.name = in.name;
    out.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(static_cast<long long>(y) * in.height / height);
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>(static_cast<long long>(x) * in.width / width);
            out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)] =
                in.pixels[static_cast<std::size_t>(sy) * static_cast<std::size_t>(in.width) +
                          static_cast<std::size_t>(sx)];
        }
    }
    return out;
}

}  // namespace

std::optional<Picture> DecodeTexture(const std::string& name, std::string_view bytes) {
    const std::string ext = Extension(name);
    bool keepAlpha = false;
    if (ext == ".bmp") {
        if (bytes.substr(0, 2) != "BM") return std::nullopt;
    } else if (ext == ".png") {
        if (bytes.substr(0, 8) != "\x89PNG\r\n\x1a\n") return std::nullopt;
        keepAlpha = true;
    } else if (ext == ".jpg") {
        auto stream = JpegStream(bytes);
        if (!stream) return std::nullopt;
        bytes = *stream;
    } else {
        return std::nullopt;
    }
    if (bytes.size() > 0x7FFFFFFF) return std::nullopt;
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, size, &w, &h, &channels) || w <= 0 || h <= 0 || w > kMaxSide ||
        h > kMaxSide) {
        return std::nullopt;
    }
    std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(data, size, &w, &h, &channels, 4));
    if (!rgba) return std::nullopt;
    Picture picture;
    picture.name = name;
    picture.width = w;
    picture.height = h;
    picture.id = NextResourceKey();
    picture.pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const stbi_uc* p = rgba.get() + i * 4;
        const std::uint32_t alpha = keepAlpha ? p[3] : 255u;
        picture.pixels[i] =
            alpha << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    }
    const int width = PowerOfTwoSide(w) ? w : 256;
    const int height = PowerOfTwoSide(h) ? h : 256;
    if (width != w || height != h) {
        const std::uint64_t id = picture.id;
        picture = Stretch(picture, width, height);
        picture.id = id;
    }
    return picture;
}

}  // namespace velmora::view3d
