#pragma once
// How a camera wants to film its target: where its focus lies in the
// target's frame, how the eye is turned and how far back it stands, how fast
// it turns towards that, and with which lens. Read from ".CAM" files for
// vehicle types and characters, and answered by a camera's target for the
// mode the camera asks about.

#include "engine/core/FixedLayout.h"
#include "engine/files/WideString.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>

struct CameraPreset {
    int32_t mode = 0;             // the camera mode it is for; not stored in files
    Vec3 focusOffset;             // in the target's frame
    Quaternion rotation;          // the eye's turn against the target's frame
    float distance = 100.0f;      // of the eye from the focus, along the eye's third axis
    float turnRate = 1.0f;        // the eye eases towards its goal by turnRate x 4 x step per update
    uint8_t showTarget = 1;       // non-zero: the target is drawn
    uint8_t fullRotation = 0;     // non-zero: the target's whole turn frames the shot; zero: its heading
    uint8_t padding[2] = {};
    float fieldOfView = 75.0f;    // degrees

    // The preset of the ".CAM" file, or the defaults above when it cannot be
    // read ("%s is missing!" logged when report is set; a file too short for
    // its version is reported as containing errors).
    static CameraPreset Load(const WideString& name, bool report);
};
DC_FIXED_LAYOUT(CameraPreset, 48);
