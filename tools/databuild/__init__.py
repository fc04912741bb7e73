"""Writers of Varnholt's data formats and the sample-data build."""
