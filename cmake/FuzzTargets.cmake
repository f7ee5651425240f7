# The fuzz targets of the native build, one per reader: the name scripts/fuzz takes, then the
# source file in fuzz/. The smoke runs of the test suite take the same list.
set(SCENOVA_FUZZ_TARGETS
  event_file EventFileFuzzer
  chapter_file ChapterFileFuzzer
  image_file ImageFileFuzzer
  settings_file SettingsFileFuzzer
  wave_file WaveFileFuzzer
  jpeg_frame JpegFrameFuzzer
  png_picture PngPictureFuzzer)
