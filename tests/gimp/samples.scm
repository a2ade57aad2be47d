; SPDX-License-Identifier: MIT
; Script-Fu for GIMP in batch mode (tests/gimp/run.sh). (samples NAME N)
; writes to `port` a line of the gradient NAME's red, green, blue and alpha
; (0 to 1) at the positions i / N, where the renderer draws pixel i, and a
; line of the first row of the renderer's NAME.png as GIMP reads it: its
; width, its channels a pixel and their bytes. Whole vectors are written at
; once: Script-Fu's own loops are slow.
(define (samples name n)
  (let* ((at (make-vector n 0.0))
         (file (string-append dir "/" name ".png"))
         (image (car (gimp-file-load RUN-NONINTERACTIVE file file)))
         (layer (car (gimp-image-get-active-layer image)))
         (width (car (gimp-image-width image)))
         (row (gimp-drawable-sub-thumbnail layer 0 0 width 1 width 1)))
    (do ((i 0 (+ i 1))) ((= i n))
      (vector-set! at i (/ i n)))
    (display (cadr (gimp-gradient-get-custom-samples name n at FALSE)) port)
    (newline port)
    (display (list width (caddr row) (list-ref row 4)) port)
    (newline port)
    (gimp-image-delete image)))
