// GPU resources of the 3D device: textures, vertex and index buffers. Each
// keeps its contents on the CPU side too, so that the device can make it
// again after the context was lost.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "view3d/pure/scene.h"

namespace velmora::view3d {

class Device;

enum class PixelFormat {
    kUnknown,
    kR8G8B8,
    kA8R8G8B8,
    kX8R8G8B8,
    kR5G6B5,
    kA1R5G5B5,
    kA4R4G4B4,
    kP8,
    kDxt1,
    kDxt5
};
std::string FormatName(PixelFormat format);

class Texture {
  public:
    Texture(Device& device, std::string name);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // The first candidate the device takes; the display's format when none.
    void SetFormatCandidates(std::vector<PixelFormat> candidates) {
        candidates_ = std::move(candidates);
    }
    // Requested size; logs when it is beyond the device's maximum.
    void SetSize(int width, int height);
    // Pixels as A R G B words, rows top first, of the requested size.
    bool LoadPixels(const std::vector<std::uint32_t>& argb);
    bool LoadPicture(const Picture& picture);
    // A bitmap file's bytes (8 to 32 bits per pixel); source names it in the log.
    bool LoadBmp(std::string_view bytes, std::string_view source);
    bool LoadBmpFile(const std::filesystem::path& file);
    // An entry of a Zorvane archive.
    bool LoadArchiveEntry(const std::filesystem::path& archive, std::string_view id);
    // The pixels as a 32-bit bitmap file.
    std::string SaveBmp32() const;

    unsigned Handle() const { return handle_; }
    int Id() const { return id_; }
    PixelFormat Format() const { return format_; }
    int AllocatedWidth() const { return width_; }
    int AllocatedHeight() const { return height_; }
    float RatioU() const { return ratioU_; }
    float RatioV() const { return ratioV_; }
    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

  private:
    void Create();
    void Upload();
    void Free();

    Device& device_;
    std::string name_;
    int id_;
    std::vector<PixelFormat> candidates_{PixelFormat::kA8R8G8B8};
    PixelFormat format_ = PixelFormat::kUnknown;
    int requestedWidth_ = 0, requestedHeight_ = 0;
    int width_ = 0, height_ = 0;
    int createdWidth_ = 0, createdHeight_ = 0;
    float ratioU_ = 1, ratioV_ = 1;
    std::vector<std::uint32_t> pixels_;
    unsigned handle_ = 0;
};

class VertexBuffer {
  public:
    VertexBuffer(Device& device, std::string name, std::vector<std::uint8_t> bytes);
    ~VertexBuffer();
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;
    unsigned Handle() const { return handle_; }
    int Size() const { return static_cast<int>(bytes_.size()); }
    // Writable bytes of [offset, offset + size); nullptr when outside.
    std::uint8_t* Lock(int offset, int size);
    bool Unlock();

  private:
    void Create();
    void Free();
    Device& device_;
    int id_;
    std::vector<std::uint8_t> bytes_;
    unsigned handle_ = 0;
    int lockOffset_ = -1, lockSize_ = 0;
};

class IndexBuffer {
  public:
    IndexBuffer(Device& device, std::string name, std::vector<std::uint16_t> indices);
    ~IndexBuffer();
    IndexBuffer(const IndexBuffer&) = delete;
    IndexBuffer& operator=(const IndexBuffer&) = delete;
    unsigned Handle() const { return handle_; }
    int Count() const { return static_cast<int>(indices_.size()); }
    bool Lock(int first, int count);
    bool Unlock();
    // Reads and writes go through the locked range; others are refused.
    std::optional<std::uint16_t> Read(int index) const;
    bool Write(int index, std::uint16_t value);

  private:
    void Create();
    void Free();
    Device& device_;
    int id_;
    std::vector<std::uint16_t> indices_;
    unsigned handle_ = 0;
    int lockFirst_ = -1, lockCount_ = 0;
};

}  // namespace velmora::view3d
