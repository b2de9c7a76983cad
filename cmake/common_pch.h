// Headers nearly every translation unit includes; compiled once per build.
#pragma once
// Extension entry points are declared by the first include of GL/gl.h.
#define GL_GLEXT_PROTOTYPES 1
#include <QtCore>
#include <QtGui>
#include <QtWidgets>
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
