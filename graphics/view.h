// "PPB_View;1.2": view resources.
#pragma once

#include <cstdint>

#include "ppapi/ppb_view.h"
#include "protocol/protocol.h"
#include "resources/resource.h"

// The size and device scale the controlling process announced in one view change.
class PPView : public PPRes {
 public:
  static constexpr uint32_t kTypes = typeBit(kResView);
  PPView(int32_t width, int32_t height, float deviceScale)
      : PPRes(kResView), width(width), height(height), deviceScale(deviceScale) {}
  int32_t width;
  int32_t height;
  float deviceScale;
};

extern const PPB_View_1_2 ppbView;

// MSG_VIEW_CHANGED: a view resource for DidChangeView, which lives for the call unless
// the plug-in keeps a reference of its own.
void handleViewChanged(const zema::protocol::ViewChanged& message);
// MSG_SCREEN_SIZE: the screen size, kept for the plug-in to ask.
void handleScreenSize(const zema::protocol::ScreenSize& message);
