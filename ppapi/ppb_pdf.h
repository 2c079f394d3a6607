// "PPB_PDF;1". The name never changed while the member list did; this is the older
// layout, whose first member returns a PP_Var. The host answers the name with a stub
// table only, so the struct serves to document and check the slots the stubs stand in
// for. It is a C++ declaration: bool is the 1-byte C++ bool.
#pragma once

#include "ppapi/pp_types.h"
#include "ppapi/ppb_browser_font_trusted.h"
#include "ppapi/ppb_flash_font_file.h"

PP_EXTERN_C_BEGIN

// Enumerations whose values the host never interprets; 32 bits like every PPAPI enum.
typedef int32_t PP_ResourceString;
typedef int32_t PP_ResourceImage;
typedef int32_t PP_PDFFeature;

struct PP_PrivateFindResult;

struct PPB_PDF {
  struct PP_Var (*GetLocalizedString)(PP_Instance instance, PP_ResourceString string_id);
  PP_Resource (*GetResourceImage)(PP_Instance instance, PP_ResourceImage image_id);
  PP_Resource (*GetFontFileWithFallback)(
      PP_Instance instance, const struct PP_BrowserFont_Trusted_Description* description,
      PP_PrivateFontCharset charset);
  bool (*GetFontTableForPrivateFontFile)(PP_Resource font_file, uint32_t table, void* output,
                                         uint32_t* output_length);
  void (*SearchString)(PP_Instance instance, const unsigned short* string,
                       const unsigned short* term, bool case_sensitive,
                       struct PP_PrivateFindResult** results, int* count);
  void (*DidStartLoading)(PP_Instance instance);
  void (*DidStopLoading)(PP_Instance instance);
  void (*SetContentRestriction)(PP_Instance instance, int restrictions);
  void (*HistogramPDFPageCount)(PP_Instance instance, int count);
  void (*UserMetricsRecordAction)(PP_Instance instance, struct PP_Var action);
  void (*HasUnsupportedFeature)(PP_Instance instance);
  void (*SaveAs)(PP_Instance instance);
  void (*Print)(PP_Instance instance);
  PP_Bool (*IsFeatureEnabled)(PP_Instance instance, PP_PDFFeature feature);
  PP_Resource (*GetResourceImageForScale)(PP_Instance instance, PP_ResourceImage image_id,
                                          float scale);
  struct PP_Var (*ModalPromptForPassword)(PP_Instance instance, struct PP_Var message);
  PP_Bool (*IsOutOfProcess)(PP_Instance instance);
  void (*SetSelectedText)(PP_Instance instance, const char* selected_text);
  void (*SetLinkUnderCursor)(PP_Instance instance, const char* url);
};

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PPB_PDF) == 19 * sizeof(void*));
#endif
