#include "engine/materials/GxGlApi.h"

TGxGlApi& GxGl()
{
    static TGxGlApi table{
        &::glEnable,      &::glDisable,     &::glIsEnabled,  &::glMaterialfv, &::glMateriali,
        &::glPolygonMode, &::glFrontFace,   &::glBindTexture, &::glActiveTexture, &::glMatrixMode,
        &::glLoadIdentity, &::glLoadMatrixf, &::glPushMatrix, &::glPopMatrix,  &::glBlendFunc,
        &::glAlphaFunc,   &::glColor4fv,    &::glTexEnvi,    &::glTexEnvfv,   &::glTexGeni,
        &::glTexGenfv,
    };
    return table;
}
