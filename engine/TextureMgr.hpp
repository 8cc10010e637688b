#pragma once
// One texture per image file name, shared by every sprite made from that file.
#include <map>
#include <string>
#include <string_view>

#include "engine/Texture2D.hpp"

namespace quintora {

class TextureMgr {
  public:
    static TextureMgr& sharedTextureMgr();

    // The texture of an image file, loaded on first use; null (and nothing cached) when the file cannot
    // be read as an image.
    Texture2D* addImage(const char* fileName);
    Texture2D* addImage(const std::string& fileName) { return addImage(fileName.c_str()); }
    // Empties the cache; textures still held by nodes stay alive and drawable.
    void removeAllTextures();
    void removeTexture(Texture2D* texture);
    [[nodiscard]] std::size_t count() const { return textures_.size(); }

  private:
    TextureMgr() = default;
    std::map<std::string, Ref<Texture2D>, std::less<>> textures_;
};

}  // namespace quintora
