// The vexttune module itself. Its one export, TVOutControl, comes from the panel library that
// is linked in whole; on Windows the export table is vexttune.def.
