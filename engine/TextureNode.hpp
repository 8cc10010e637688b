#pragma once
#include <cstdint>

#include "engine/Action.hpp"
#include "engine/Node.hpp"
#include "engine/Texture2D.hpp"

namespace quintora {

// A node that draws one texture, tinted by its colour and faded by its opacity, with its lower-left
// corner at the node's origin.
class TextureNode : public Node, public RGBAProtocol {
    QUINTORA_NODE(TextureNode)
  public:
    ~TextureNode() override;
    void draw() override;

    void setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) override {
        r_ = r;
        g_ = g;
        b_ = b;
    }
    [[nodiscard]] std::uint8_t r() const override { return r_; }
    [[nodiscard]] std::uint8_t g() const override { return g_; }
    [[nodiscard]] std::uint8_t b() const override { return b_; }
    void setR(std::uint8_t r) { r_ = r; }
    void setG(std::uint8_t g) { g_ = g; }
    void setB(std::uint8_t b) { b_ = b; }
    void setOpacity(std::uint8_t opacity) override { opacity_ = opacity; }
    [[nodiscard]] std::uint8_t opacity() const override { return opacity_; }

    [[nodiscard]] Texture2D* texture() const { return texture_.get(); }
    void setTexture(Texture2D* texture) { texture_ = Ref<Texture2D>(texture); }
    // The texture's content size; (0, 0) without a texture.
    [[nodiscard]] Size contentSize() const;

  protected:
    TextureNode();

  private:
    Ref<Texture2D> texture_;
    std::uint8_t opacity_ = 255;
    std::uint8_t r_ = 255, g_ = 255, b_ = 255;
};

}  // namespace quintora
