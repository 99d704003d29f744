#pragma once
// Is the FLV decoder (FFDShow) installed, and is it the one in its usual place?
namespace clipview {

// The in-process server of {04FE9017-F873-410E-871E-AB91661A4EF7} (under
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID) exists as a file, and
// HKEY_LOCAL_MACHINE\SOFTWARE\GNU\ffdshow "flv1" is a non-zero DWORD.
bool IsFlvDecoderInstalled();
// That server is "C:\Program Files\ffdshow\ffdshow.ax" (any case).
bool IsFlvDecoderInPlace();

}  // namespace clipview
