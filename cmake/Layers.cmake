# The subsystems, lowest first, and for each the subsystems below it that it
# may use. Libraries are linked along these arrows, and the layering test
# fails on any #include that does not follow one. The resource ids header is
# shared by everyone.
set(LUMI_SUBSYSTEMS win config engine about settings app)
set(LUMI_USES_win "")
set(LUMI_USES_config win)
set(LUMI_USES_engine config win)
set(LUMI_USES_about win)
set(LUMI_USES_settings config win)
set(LUMI_USES_app settings about engine config win)
set(LUMI_SHARED_HEADERS resources)
