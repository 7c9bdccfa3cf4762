#pragma once
// Where a recorder frame goes in an area of any size: the largest 4:3
// rectangle that fits, centred, whatever the size of the frame itself.
class Letterbox {
public:
    static constexpr int aspectWidth = 640;
    static constexpr int aspectHeight = 480;

    static Letterbox fit(int areaWidth, int areaHeight);

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
