// The foundation library: buffers and arrays, strings, string conversion,
// the error manager and system services, in one include.
#pragma once

#include "CT_Buffer.h"
#include "CT_CString.h"
#include "CT_ErrorManager.h"
#include "CT_Exit.h"
#include "CT_Forum.h"
#include "CT_Init.h"
#include "CT_LoadString.h"
#include "CT_OS.h"
#include "CT_String.h"
#include "CT_StringConvert.h"
#include "CT_Type.h"
#include "CT_UString.h"
#include "CT_UTF.h"
#include "CT_VoidArray.h"
