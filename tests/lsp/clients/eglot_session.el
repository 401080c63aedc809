;;; eglot_session.el --- check a Markdown file through eglot and flymake

;; Run as: emacs -Q --batch -l eglot_session.el TOOL PERSONAL FILE
;; Visits FILE in a Markdown mode with eglot managing it (the server being
;; `TOOL --personal PERSONAL lsp'), prints the words flymake marks, runs
;; the code action eglot offers first (the preferred one) on the first
;; mark, and prints the line it changed and the words marked after it.
;; Exits with status 3 when a step fails or times out.

;; Debian's elpa-eglot and the packages it needs, which -Q leaves out.
(require 'package)
(setq package-directory-list '("/usr/share/emacs/site-lisp/elpa"))
(package-initialize)
(require 'eglot)
(require 'cl-lib)

;; eglot names the document's language after its major mode.
(define-derived-mode markdown-mode text-mode "Markdown")

(defun eglot-session-fail (format-string &rest args)
  (message "eglot session: %s" (apply #'format format-string args))
  (kill-emacs 3))

(defun eglot-session-wait (condition what)
  "Let the server's messages in until CONDITION holds; fail after 20 s."
  (let ((deadline (+ (float-time) 20)))
    (while (not (funcall condition))
      (when (> (float-time) deadline) (eglot-session-fail "timed out waiting for %s" what))
      (accept-process-output nil 0.05))))

(defvar eglot-session-reports 0
  "How many sets of diagnostics eglot has handed to flymake.")
(advice-add 'eglot--report-to-flymake :after
            (lambda (&rest _) (setq eglot-session-reports (1+ eglot-session-reports))))

(defun eglot-session-marks ()
  (sort (flymake-diagnostics) (lambda (a b) (< (flymake-diagnostic-beg a)
                                               (flymake-diagnostic-beg b)))))

(defun eglot-session-marked ()
  (mapconcat (lambda (d) (buffer-substring-no-properties (flymake-diagnostic-beg d)
                                                         (flymake-diagnostic-end d)))
             (eglot-session-marks) " "))

(let ((tool (pop command-line-args-left))
      (personal (pop command-line-args-left))
      (file (pop command-line-args-left)))
  (condition-case failure
      (progn
        (add-to-list 'eglot-server-programs
                     `(markdown-mode . (,tool "--personal" ,personal "lsp")))
        (find-file file)
        (markdown-mode)
        (apply #'eglot (eglot--guess-contact))
        (eglot-session-wait #'eglot-managed-p "eglot to manage the buffer")
        ;; Batch Emacs runs no commands, after which flymake would start.
        (flymake-start)
        (eglot-session-wait #'flymake-diagnostics "diagnostics")
        (let ((reports eglot-session-reports))
          (princ (format "marked: %s\n" (eglot-session-marked)))
          (goto-char (flymake-diagnostic-beg (car (eglot-session-marks))))
          (cl-letf (((symbol-function 'completing-read)
                     (lambda (_prompt _items &optional _pred _match _initial _history default
                                      &rest _)
                       default)))
            (let ((last-nonmenu-event 0))
              (eglot-code-actions (point) (point) nil t)))
          ;; ...nor goes idle, when eglot would send the change.
          (eglot--signal-textDocument/didChange)
          (princ (format "corrected: %s\n" (buffer-substring-no-properties
                                            (line-beginning-position) (line-end-position))))
          (eglot-session-wait (lambda () (> eglot-session-reports reports))
                              "the marks after the correction")
          (princ (format "marked: %s\n" (eglot-session-marked)))))
    (error (eglot-session-fail "%s" (error-message-string failure))))
  (kill-emacs 0))
