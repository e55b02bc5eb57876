#pragma once
// The product's name and version: the one place they are written. The build
// reads the version from here too (CMakeLists.txt), and resource scripts
// include this file, so it holds plain macros only.
#define QF_PRODUCT_NAME "Tarnwick Quillfern for Android"
#define QF_COMPANY_NAME "Tarnwick"
#define QF_VERSION_TEXT "2.0.0.9"
// The same version as four numbers, for version resources.
#define QF_VERSION_NUMBERS 2, 0, 0, 9
