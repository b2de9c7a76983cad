#pragma once

// The records a 3D Studio file decodes into, and the chunk ids of its
// published layout that the reader knows.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace chunk3ds {
// Roots.
constexpr std::uint16_t M3DMAGIC = 0x4D4D;   // 3DS file
constexpr std::uint16_t CMAGIC = 0xC23D;     // project file
constexpr std::uint16_t MLIBMAGIC = 0x3DAA;  // material library file; also a material container
constexpr std::uint16_t M3D_VERSION = 0x0002;

// Common value chunks.
constexpr std::uint16_t COLOR_F = 0x0010;
constexpr std::uint16_t COLOR_24 = 0x0011;
constexpr std::uint16_t LIN_COLOR_24 = 0x0012;
constexpr std::uint16_t LIN_COLOR_F = 0x0013;
constexpr std::uint16_t INT_PERCENTAGE = 0x0030;
constexpr std::uint16_t FLOAT_PERCENTAGE = 0x0031;
constexpr std::uint16_t MASTER_SCALE = 0x0100;

// Editor data and its atmosphere, background and light settings.
constexpr std::uint16_t MDATA = 0x3D3D;
constexpr std::uint16_t MESH_VERSION = 0x3D3E;
constexpr std::uint16_t BIT_MAP = 0x1100;
constexpr std::uint16_t SOLID_BGND = 0x1200;
constexpr std::uint16_t V_GRADIENT = 0x1300;
constexpr std::uint16_t AMBIENT_LIGHT = 0x2100;
constexpr std::uint16_t FOG = 0x2200;
constexpr std::uint16_t FOG_BGND = 0x2210;
constexpr std::uint16_t DISTANCE_CUE = 0x2300;
constexpr std::uint16_t LAYER_FOG = 0x2302;
constexpr std::uint16_t DEFAULT_VIEW = 0x3000;

// Named objects and triangle meshes.
constexpr std::uint16_t NAMED_OBJECT = 0x4000;
constexpr std::uint16_t OBJ_HIDDEN = 0x4010;
constexpr std::uint16_t OBJ_VIS_LOFTER = 0x4011;
constexpr std::uint16_t OBJ_DOESNT_CAST = 0x4012;
constexpr std::uint16_t OBJ_MATTE = 0x4013;
constexpr std::uint16_t OBJ_FAST = 0x4014;
constexpr std::uint16_t OBJ_PROCEDURAL = 0x4015;
constexpr std::uint16_t OBJ_FROZEN = 0x4016;
constexpr std::uint16_t OBJ_DONT_RCVSHADOW = 0x4017;
constexpr std::uint16_t N_TRI_OBJECT = 0x4100;
constexpr std::uint16_t POINT_ARRAY = 0x4110;
constexpr std::uint16_t POINT_FLAG_ARRAY = 0x4111;
constexpr std::uint16_t FACE_ARRAY = 0x4120;
constexpr std::uint16_t MSH_MAT_GROUP = 0x4130;
constexpr std::uint16_t TEX_VERTS = 0x4140;
constexpr std::uint16_t SMOOTH_GROUP = 0x4150;
constexpr std::uint16_t MESH_MATRIX = 0x4160;
constexpr std::uint16_t MESH_COLOR = 0x4165;
constexpr std::uint16_t MESH_TEXTURE_INFO = 0x4170;
constexpr std::uint16_t PROC_NAME = 0x4181;
constexpr std::uint16_t PROC_DATA = 0x4182;
constexpr std::uint16_t MSH_BOXMAP = 0x4190;

// Lights and cameras.
constexpr std::uint16_t N_DIRECT_LIGHT = 0x4600;
constexpr std::uint16_t DL_SPOTLIGHT = 0x4610;
constexpr std::uint16_t N_CAMERA = 0x4700;

// Viewports.
constexpr std::uint16_t VIEWPORT_LAYOUT = 0x7001;

// Materials.
constexpr std::uint16_t MAT_ENTRY = 0xAFFF;
constexpr std::uint16_t MAT_NAME = 0xA000;
constexpr std::uint16_t MAT_AMBIENT = 0xA010;
constexpr std::uint16_t MAT_DIFFUSE = 0xA020;
constexpr std::uint16_t MAT_SPECULAR = 0xA030;
constexpr std::uint16_t MAT_SHININESS = 0xA040;
constexpr std::uint16_t MAT_SHIN2PCT = 0xA041;
constexpr std::uint16_t MAT_SHIN3PCT = 0xA042;
constexpr std::uint16_t MAT_TRANSPARENCY = 0xA050;
constexpr std::uint16_t MAT_XPFALL = 0xA052;
constexpr std::uint16_t MAT_REFBLUR = 0xA053;
constexpr std::uint16_t MAT_SELF_ILLUM = 0xA080;
constexpr std::uint16_t MAT_TWO_SIDE = 0xA081;
constexpr std::uint16_t MAT_DECAL = 0xA082;
constexpr std::uint16_t MAT_ADDITIVE = 0xA083;
constexpr std::uint16_t MAT_SELF_ILPCT = 0xA084;
constexpr std::uint16_t MAT_WIRE = 0xA085;
constexpr std::uint16_t MAT_SUPERSMP = 0xA086;
constexpr std::uint16_t MAT_WIRESIZE = 0xA087;
constexpr std::uint16_t MAT_FACEMAP = 0xA088;
constexpr std::uint16_t MAT_XPFALLIN = 0xA08A;
constexpr std::uint16_t MAT_PHONGSOFT = 0xA08C;
constexpr std::uint16_t MAT_WIREABS = 0xA08E;
constexpr std::uint16_t MAT_SHADING = 0xA100;
constexpr std::uint16_t MAT_TEXMAP = 0xA200;
constexpr std::uint16_t MAT_SPECMAP = 0xA204;
constexpr std::uint16_t MAT_OPACMAP = 0xA210;
constexpr std::uint16_t MAT_REFLMAP = 0xA220;
constexpr std::uint16_t MAT_BUMPMAP = 0xA230;
constexpr std::uint16_t MAT_USE_XPFALL = 0xA240;
constexpr std::uint16_t MAT_USE_REFBLUR = 0xA250;
constexpr std::uint16_t MAT_BUMP_PERCENT = 0xA252;
constexpr std::uint16_t MAT_MAPNAME = 0xA300;
constexpr std::uint16_t MAT_ACUBIC = 0xA310;
constexpr std::uint16_t MAT_SXP_FIRST = 0xA320; // procedural map data, A320 to A33?
constexpr std::uint16_t MAT_SXP_LAST = 0xA32C;
constexpr std::uint16_t MAT_TEX2MAP = 0xA33A;
constexpr std::uint16_t MAT_SHINMAP = 0xA33C;
constexpr std::uint16_t MAT_SELFIMAP = 0xA33D;
constexpr std::uint16_t MAT_TEXMASK = 0xA33E;
constexpr std::uint16_t MAT_TEX2MASK = 0xA340;
constexpr std::uint16_t MAT_OPACMASK = 0xA342;
constexpr std::uint16_t MAT_BUMPMASK = 0xA344;
constexpr std::uint16_t MAT_SHINMASK = 0xA346;
constexpr std::uint16_t MAT_SPECMASK = 0xA348;
constexpr std::uint16_t MAT_SELFIMASK = 0xA34A;
constexpr std::uint16_t MAT_REFLMASK = 0xA34C;
constexpr std::uint16_t MAT_MAP_TILINGOLD = 0xA350;
constexpr std::uint16_t MAT_MAP_TILING = 0xA351;
constexpr std::uint16_t MAT_MAP_TEXBLUR_OLD = 0xA352;
constexpr std::uint16_t MAT_MAP_TEXBLUR = 0xA353;
constexpr std::uint16_t MAT_MAP_USCALE = 0xA354;
constexpr std::uint16_t MAT_MAP_VSCALE = 0xA356;
constexpr std::uint16_t MAT_MAP_UOFFSET = 0xA358;
constexpr std::uint16_t MAT_MAP_VOFFSET = 0xA35A;
constexpr std::uint16_t MAT_MAP_ANG = 0xA35C;
constexpr std::uint16_t MAT_MAP_COL1 = 0xA360;
constexpr std::uint16_t MAT_MAP_COL2 = 0xA362;
constexpr std::uint16_t MAT_MAP_RCOL = 0xA364;
constexpr std::uint16_t MAT_MAP_GCOL = 0xA366;
constexpr std::uint16_t MAT_MAP_BCOL = 0xA368;

// Extra data and the keyframer.
constexpr std::uint16_t XDATA_SECTION = 0x8000;
constexpr std::uint16_t XDATA_ENTRY = 0x8001;
constexpr std::uint16_t XDATA_FIRST = 0x8002; // entries kept inside XDATA_ENTRY
constexpr std::uint16_t XDATA_LAST = 0x800F;
constexpr std::uint16_t KFDATA = 0xB000;
constexpr std::uint16_t AMBIENT_NODE_TAG = 0xB001;
constexpr std::uint16_t SPOTLIGHT_NODE_TAG = 0xB007;
constexpr std::uint16_t NODE_HDR = 0xB010;
} // namespace chunk3ds

struct TColor3DS {
    float r = 0, g = 0, b = 0;
};

struct TFace3DS {
    std::uint16_t a = 0, b = 0, c = 0, flags = 0;
};

struct TMaterialGroup3DS {
    std::string name;
    std::vector<std::uint16_t> faces; // indices into the mesh's faces
};

struct TMapInfo3DS {
    std::uint16_t mapType = 0;
    float tileX = 1, tileY = 1;
    std::array<float, 3> iconPos{};
    float iconScaling = 1;
    std::array<float, 12> matrix{};
    float planeIconW = 0, planeIconH = 0, cylIconH = 0;
};

// One triangle mesh (a named object holding a triangle-mesh chunk).
struct TMesh3DS {
    std::string name;
    bool isHidden = false;
    bool isVisLofter = false;
    bool isMatte = false;
    bool isNoCast = false;
    bool isFast = false;
    bool isNoRcvShad = false;
    bool isFrozen = false;
    bool useProc = false;
    std::vector<std::array<float, 3>> vertices;
    std::vector<std::uint16_t> vertexFlags;
    std::vector<std::array<float, 2>> textureVertices;
    bool useMapInfo = false;
    TMapInfo3DS mapInfo;
    std::array<float, 12> locMatrix{};
    std::vector<TFace3DS> faces;
    std::vector<std::uint32_t> smoothGroups; // one mask per face, as many as the file stores
    std::array<std::string, 6> boxMapMaterials;
    std::uint8_t meshColor = 0;
    std::vector<TMaterialGroup3DS> materialGroups;
    std::string procName;
    std::string procData;
};

// One texture or other map of a material.
struct TTextureMap3DS {
    std::string name;
    float percent = 0;
    std::uint16_t tiling = 0;
    float blur = 0;
    float uScale = 1, vScale = 1, uOffset = 0, vOffset = 0, rotation = 0;
    std::array<TColor3DS, 5> tints{}; // col1, col2, r, g, b
};

// One material entry.
struct TMaterial3DS {
    std::string name;
    TColor3DS ambient, diffuse, specular;
    float shininess = 0;         // fraction 0 to 1
    float shininessStrength = 0; // fraction 0 to 1
    float transparency = 0;
    float transparencyFalloff = 0;
    float reflectionBlur = 0;
    float selfIllumination = 0;
    float wireSize = 0;
    std::uint16_t shading = 0;
    bool twoSided = false, selfIllum = false, additive = false, wire = false, superSample = false;
    bool faceMap = false, falloffIn = false, soften = false, wireAbsolute = false;
    bool useTransparencyFalloff = false, useReflectionBlur = false;
    std::int16_t bumpPercent = 0;
    TTextureMap3DS texture;  // the first texture map: the one the program uses
    // The other maps, by their chunk id order: texture 2, opacity, bump,
    // specular, shininess, self-illumination, reflection and their masks.
    std::vector<std::pair<std::uint16_t, TTextureMap3DS>> otherMaps;
};
