#include "section/bar_placement.h"

#include <cmath>

namespace zarno {

void Place_Bars_In_Circle(BarCoordinates& X, BarCoordinates& Y, double D, double cover, double d,
                          int h, int b, bool& success) {
    success = false;
    if (!(d <= D) || !(D > 0.0) || !(cover > 0.0) || h < 1 || h > MAX_BARS || b < 1) {
        return;
    }
    if (std::fabs(d) > 100.0) {
        d = 0.0;
    }
    const double R = (D - d) / 2.0 - cover;
    if (!(R > 0.0)) {
        return;
    }
    X.fill(0.0);
    Y.fill(0.0);
    const double pitch = 6.283185307179586 / h;
    const double alpha = d / (2.0 * R);
    auto put = [&](int k, double radius, double angle) {
        if (k >= 1 && k <= MAX_BARS) {
            X[k] = radius * std::cos(angle);
            Y[k] = radius * std::sin(angle);
        }
    };
    for (int j = 1; j <= h; ++j) {
        const double theta = (j - 1) * pitch;
        if (b == 1) {
            if (h == 1) {
                put(j, 0.0, 0.0);
            } else {
                put(j, R, theta);
            }
        } else if (b == 2) {
            if (h == 1) {
                X[1] = -d / 2.0;
                Y[1] = 0.0;
                X[2] = d / 2.0;
                Y[2] = 0.0;
            } else {
                put(2 * j - 1, R, theta - alpha);
                put(2 * j, R, theta + alpha);
            }
        } else if (b == 3) {
            put(3 * j - 2, R, theta - alpha);
            put(3 * j - 1, R, theta + alpha);
            put(3 * j, R - 0.8660254037844386 * d, theta);
        }
    }
    success = true;
}

void Place_Strands_Square(BarCoordinates& X, BarCoordinates& Y, double W, double cover, double d,
                          int n, int arrangement, bool& success) {
    success = true;
    const double a = (W - d) / 2.0 - cover;
    const int q = n / 4;
    int bottom = 0, right = 0, top = 0, left = 0;
    if (n % 4 <= 1) {
        bottom = top = q + 1;
        right = left = q - 1;
    } else if (arrangement == 1) {
        bottom = top = q + 2;
        right = left = q - 1;
    } else {
        bottom = top = q + 1;
        right = left = q;
    }
    if (bottom < 1 || right < 0) {
        return; // fewer than four strands form no square
    }
    int k = 0;
    auto put = [&](double x, double y) {
        if (++k <= MAX_BARS) {
            X[k] = x;
            Y[k] = y;
        }
    };
    auto row_x = [&](int count, int i) {
        return count == 1 ? 0.0 : -a + i * 2.0 * a / (count - 1);
    };
    for (int i = 0; i < bottom; ++i) {
        put(row_x(bottom, i), -a);
    }
    for (int i = 1; i <= right; ++i) {
        put(a, -a + i * 2.0 * a / (right + 1));
    }
    for (int i = 0; i < top; ++i) {
        put(-row_x(top, i), a);
    }
    for (int i = 1; i <= left; ++i) {
        put(-a, a - i * 2.0 * a / (left + 1));
    }
}

BarSpacing fn_Min_Clear_Bar_Spacing(const BarCoordinates& X, const BarCoordinates& Y,
                                    const BarCoordinates& diameter, int n) {
    if (n <= 1) {
        return {0.0, n, n};
    }
    auto clear = [&](int i, int j) {
        return std::hypot(X[i] - X[j], Y[i] - Y[j]) - (diameter[i] + diameter[j]) / 2.0;
    };
    const double floor_value = static_cast<double>(1e-4f);
    BarSpacing best{0.0, 0, 0};
    bool found = false;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            if (j == i) {
                continue;
            }
            const double s = clear(i, j);
            if (s > floor_value && (!found || s < best.spacing)) {
                best = {s, i, j};
                found = true;
            }
        }
    }
    if (!found) {
        return {clear(1, 2), 1, 2};
    }
    return best;
}

} // namespace zarno
