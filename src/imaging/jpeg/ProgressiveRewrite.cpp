#include "imaging/jpeg/ProgressiveRewrite.h"

#include "core/TMemoryStream.h"
#include "imaging/jpeg/JpegCompressObject.h"
#include "imaging/jpeg/JpegDecompressObject.h"
#include "imaging/jpeg/JpegDestinationManager.h"
#include "imaging/jpeg/JpegMarkers.h"
#include "imaging/jpeg/JpegSourceManager.h"

void ProgressiveRewrite::of(TMemoryStream& sequential, const JpegMarkers& markers,
                            TMemoryStream& out) {
    sequential.seek(0, SeekOrigin::Beginning);
    JpegErrorManager errors;
    JpegDecompressObject reader(errors);
    JpegCompressObject writer(errors);
    JpegSourceManager source(sequential);
    JpegDestinationManager destination(out);
    errors.run([&] {
        reader.create();
        writer.create();
        source.attach(&reader.cinfo);
        destination.attach(&writer.cinfo);
        jpeg_read_header(&reader.cinfo, TRUE);
        jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&reader.cinfo);
        // The tables, sampling and JFIF density of the sequential file, which the encoder
        // took from its defaults: the header comes out as a direct progressive encode's.
        jpeg_copy_critical_parameters(&reader.cinfo, &writer.cinfo);
        jpeg_simple_progression(&writer.cinfo);
        writer.cinfo.optimize_coding = TRUE;
        writer.cinfo.write_JFIF_header = markers.jfifHeader ? TRUE : FALSE;
        jpeg_write_coefficients(&writer.cinfo, coefficients);
        markers.writeTo(writer.cinfo);
        jpeg_finish_compress(&writer.cinfo);
        jpeg_finish_decompress(&reader.cinfo);
    });
}
