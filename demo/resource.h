// Resources of Velmora: the frame's icon and the images (bitmap files as
// RCDATA, turned into pictures with OleLoadPicture).
#pragma once
#define IDI_VELMORA 1
#define IDR_INTRO 101
#define IDR_SWITCH_ON 102
#define IDR_SWITCH_OFF 103
#define IDR_CHART 104
#define IDR_TEXTURE 105
