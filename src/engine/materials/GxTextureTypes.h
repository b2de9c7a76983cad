#pragma once

// Settings of a texture and of its upload.
enum TGxTextureImageAlpha {
    tiaDefault,
    tiaAlphaFromIntensity,
    tiaSuperBlackTransparent,
    tiaLuminance,
    tiaLuminanceSqrt,
    tiaOpaque,
    tiaTopLeftPointColorTransparent,
    tiaInverseLuminance,
    tiaInverseLuminanceSqrt,
};
enum TGxMagFilter { maNearest, maLinear };
enum TGxMinFilter {
    miNearest,
    miLinear,
    miNearestMipmapNearest,
    miLinearMipmapNearest,
    miNearestMipmapLinear,
    miLinearMipmapLinear,
};
enum TGxTextureMode { tmDecal, tmModulate, tmBlend, tmReplace };
enum TGxTextureWrap { twBoth, twNone, twVertical, twHorizontal };
enum TGxTextureFormat {
    tfDefault,
    tfRGB,
    tfRGBA,
    tfRGB16,
    tfRGBA16,
    tfAlpha,
    tfLuminance,
    tfLuminanceAlpha,
    tfIntensity,
    tfNormalMap,
    tfRGBAFloat16,
    tfRGBAFloat32,
};
enum TGxTextureCompression { tcDefault, tcNone, tcStandard, tcHighQuality, tcHighSpeed };
enum TGxTextureFilteringQuality { tfIsotropic, tfAnisotropic };
enum TGxTextureMappingMode {
    tmmUser,
    tmmObjectLinear,
    tmmEyeLinear,
    tmmSphere,
    tmmCubeMapReflection,
    tmmCubeMapNormal,
    tmmCubeMapLight0,
    tmmCubeMapCamera,
};
