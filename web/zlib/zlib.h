/* SPDX-License-Identifier: MIT */
/* The one zlib function the game uses, for the browser build (emscripten
   brings no zlib without a download): crc32_z, with zlib's values. */
#ifndef PELTA_WEB_ZLIB_H
#define PELTA_WEB_ZLIB_H
#include <stddef.h>
#ifdef __cplusplus
extern "C" {
#endif
typedef unsigned long uLong;
typedef size_t z_size_t;
#define Z_NULL 0
/* The CRC-32 (reflected 0xEDB88320) of len bytes continuing crc; 0 for a
   null buf, which gives the start value as zlib does. */
uLong crc32_z(uLong crc, const unsigned char *buf, z_size_t len);
#ifdef __cplusplus
}
#endif
#endif
