#pragma once
// The brightness table applied to a private copy of a frame before drawing.
// Values above 1.0 brighten, below 1.0 darken; 1.0 leaves pictures untouched.
#include <array>
#include <cstdint>

class Image;

class GammaCorrection {
public:
    static constexpr double minimumGamma = 0.1;
    static constexpr double maximumGamma = 5.0;

    GammaCorrection();
    virtual ~GammaCorrection();

    // Clamps value to minimumGamma … maximumGamma and rebuilds the table.
    void setGamma(double value);
    double gamma() const { return gamma_; }
    const std::array<std::uint8_t, 256>& table() const { return table_; }

    // Maps the blue, green and red bytes of every pixel through the table,
    // leaving the fourth byte; no pass at all at exactly 1.0.
    void apply(Image& image) const;

private:
    void buildTable();

    double gamma_ = 1.0;
    std::array<std::uint8_t, 256> table_{};
};
