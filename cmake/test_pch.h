// Headers every test translation unit includes; compiled once per build.
#pragma once
#include "common_pch.h"
#include <gtest/gtest.h>
