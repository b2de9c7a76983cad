#pragma once

// The application title: heads the error box and names the splash and closing screens.
inline constexpr char kApplicationTitle[] = "Quorvel Электронный справочник организаций г.Верескола";
