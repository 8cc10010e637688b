#include "engine/TextureMgr.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "engine/Errors.hpp"
#include "platform/Image.hpp"
#include "platform/Log.hpp"
#include "platform/Resources.hpp"

namespace quintora {

TextureMgr& TextureMgr::sharedTextureMgr() {
    static TextureMgr instance;
    return instance;
}

Texture2D* TextureMgr::addImage(const char* fileName) {
    QASSERT(fileName != nullptr, "TextureMgr: fileimage MUST not be nill");
    const std::string_view name(fileName);
    if (auto found = textures_.find(name); found != textures_.end()) return found->second.get();

    // A name the resources hold is loaded from there; anything else is taken as a path.
    std::string path = platform::resourcePath(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) path = name;

    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (lower.ends_with(".pvr")) {
        platform::logf("TextureMgr: compressed textures are not supported: %s", fileName);
        return nullptr;
    }
    const std::optional<platform::Bitmap> image = platform::decodePng(path);
    Ref<Texture2D> texture = Texture2D::initWithImage(image ? &*image : nullptr);
    if (!texture) return nullptr;
    textures_.emplace(std::string(name), texture);
    return texture.get();
}

void TextureMgr::removeAllTextures() { textures_.clear(); }

void TextureMgr::removeTexture(Texture2D* texture) {
    std::erase_if(textures_, [texture](const auto& entry) { return entry.second.get() == texture; });
}

}  // namespace quintora
